#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "runtime/platform.hpp"

namespace runtime {

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t done = write(fd, bytes.data(), bytes.size());
    if (done >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(done));
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      pollfd ready{fd, POLLOUT, 0};
      poll(&ready, 1, -1);
    } else if (errno != EINTR) {
      return errno;
    }
  }
  return 0;
}

void WriteWithin(int fd, std::string_view bytes, int budget_ms) {
  // Each write follows a report of room, so that it cannot block; the budget is spent
  // only while the output is full.
  for (int tries = 0; !bytes.empty() && tries < 4; ++tries) {
    pollfd ready{fd, POLLOUT, 0};
    if (poll(&ready, 1, budget_ms / 4) <= 0 || (ready.revents & POLLOUT) == 0) return;
    const ssize_t done = write(fd, bytes.data(), bytes.size());
    if (done > 0) bytes.remove_prefix(static_cast<std::size_t>(done));
    if (done < 0 && errno != EINTR && errno != EAGAIN) return;
  }
}

}  // namespace runtime
