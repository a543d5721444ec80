#include <windows.h>

#include <string>

#include "runtime/platform.hpp"
#include "runtime/runtime.hpp"

namespace runtime {

int WriteAll(int fd, std::string_view bytes) {
  const HANDLE handle = GetStdHandle(fd == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
      return static_cast<int>(GetLastError());
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes.remove_prefix(written);
  }
  return 0;
}

void OutputLost(int error) {
  RestoreModes();
  // Windows has no signal for a closed pipe: every lost output ends the run alike.
  const std::string line = "the output is lost (Windows error " + std::to_string(error) + ")\r\n";
  WriteAll(2, line);
  ExitProcess(static_cast<UINT>(kOutputLost));
}

void WriteWithin(int fd, std::string_view bytes, int /*budget_ms*/) {
  WriteAll(fd, bytes);
}

}  // namespace runtime
