#include <windows.h>

#include "runtime/platform.hpp"

namespace runtime {

void WriteAll(int fd, std::string_view bytes) {
  const HANDLE handle = GetStdHandle(fd == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written == 0)
      return;
    bytes.remove_prefix(written);
  }
}

void WriteWithin(int fd, std::string_view bytes, int /*budget_ms*/) {
  WriteAll(fd, bytes);
}

}  // namespace runtime
