#include <windows.h>

#include <string>

#include "runtime/platform.hpp"
#include "runtime/runtime.hpp"
#include "runtime/words.hpp"

namespace runtime {

namespace {

// UTF-8 TEXT on a console, which shows UTF-16 whatever its code page.
int WriteConsoleText(HANDLE console, std::string_view text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          static_cast<int>(wide.size()))));
  DWORD written = 0;
  if (!WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr))
    return static_cast<int>(GetLastError());
  return 0;
}

}  // namespace

int WriteAll(int fd, std::string_view bytes) {
  const HANDLE handle = GetStdHandle(fd == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) return WriteConsoleText(handle, bytes);
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
  const std::string line = Tr(
      "{program}: the output is lost: {error}",
      {{"program", ProgramName()}, {"error", Tr("Windows error {number}", {{"number", error}})}});
  WriteAll(2, line + "\r\n");
  ExitProcess(static_cast<UINT>(kOutputLost));
}

void WriteWithin(int fd, std::string_view bytes, int /*budget_ms*/) {
  WriteAll(fd, bytes);
}

}  // namespace runtime
