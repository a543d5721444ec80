// console-driver COMMANDS REPLIES PROGRAM [ARGS...]: starts PROGRAM on this process's
// console and does what the lines of the file COMMANDS say, answering each with a line in
// REPLIES (both are FIFOs of the test that drives it):
//   key DOWN VK SCAN CHAR STATE   puts one key event into the console's input (CHAR: UTF-16)
//   pending                       the number of input events not yet read
//   row Y                         window row Y (1-based): its text in UTF-8, a tab, and the
//                                 attribute of each cell in hexadecimal
//   cursor                        the cursor's window column and row
//   screen                        a digest of the window's characters, attributes and cursor
//   ctrl-c                        sends Ctrl+C to the console's processes (not to this one)
//   exit                          waits for PROGRAM to end and answers its exit status
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HANDLE Open(const wchar_t* name) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     &inherit, OPEN_EXISTING, 0, nullptr);
}

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring Wide(const char* text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), size);
  out.resize(static_cast<std::size_t>(size > 0 ? size - 1 : 0));
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  HANDLE in = Open(L"CONIN$");
  HANDLE out = Open(L"CONOUT$");
  std::wstring command_line = L"\"" + Wide(argv[3]) + L"\"";
  for (int i = 4; i < argc; ++i) command_line += L" " + Wide(argv[i]);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = out;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process))
    return 3;

  FILE* commands = std::fopen(argv[1], "r");
  FILE* replies = std::fopen(argv[2], "wb");
  if (commands == nullptr || replies == nullptr) return 4;
  char line[256];
  while (std::fgets(line, sizeof line, commands) != nullptr) {
    std::string reply = "ok";
    unsigned down = 0, vk = 0, scan = 0, character = 0, state = 0;
    int y = 0;
    if (std::sscanf(line, "key %u %u %u %u %u", &down, &vk, &scan, &character, &state) == 5) {
      INPUT_RECORD record{};
      record.EventType = KEY_EVENT;
      record.Event.KeyEvent.bKeyDown = down != 0;
      record.Event.KeyEvent.wRepeatCount = 1;
      record.Event.KeyEvent.wVirtualKeyCode = static_cast<WORD>(vk);
      record.Event.KeyEvent.wVirtualScanCode = static_cast<WORD>(scan);
      record.Event.KeyEvent.uChar.UnicodeChar = static_cast<WCHAR>(character);
      record.Event.KeyEvent.dwControlKeyState = state;
      DWORD written = 0;
      WriteConsoleInputW(in, &record, 1, &written);
    } else if (std::strncmp(line, "pending", 7) == 0) {
      DWORD count = 0;
      GetNumberOfConsoleInputEvents(in, &count);
      reply = std::to_string(count);
    } else if (std::sscanf(line, "row %d", &y) == 1) {
      CONSOLE_SCREEN_BUFFER_INFO info{};
      GetConsoleScreenBufferInfo(out, &info);
      const SHORT width = static_cast<SHORT>(info.srWindow.Right - info.srWindow.Left + 1);
      const COORD at{info.srWindow.Left, static_cast<SHORT>(info.srWindow.Top + y - 1)};
      std::wstring text(static_cast<std::size_t>(width), L' ');
      std::wstring attributes;
      WORD cells[512] = {};
      DWORD read = 0;
      ReadConsoleOutputCharacterW(out, text.data(), static_cast<DWORD>(width), at, &read);
      ReadConsoleOutputAttribute(out, cells, static_cast<DWORD>(width), at, &read);
      reply = Utf8(text) + "\t";
      char hex[4];
      for (SHORT x = 0; x < width; ++x) {
        std::snprintf(hex, sizeof hex, "%02x", cells[x] & 0xFF);
        reply += hex;
      }
    } else if (std::strncmp(line, "screen", 6) == 0) {
      CONSOLE_SCREEN_BUFFER_INFO info{};
      GetConsoleScreenBufferInfo(out, &info);
      const SMALL_RECT window = info.srWindow;
      const COORD size{static_cast<SHORT>(window.Right - window.Left + 1),
                       static_cast<SHORT>(window.Bottom - window.Top + 1)};
      static CHAR_INFO cells[256 * 256];
      SMALL_RECT region = window;
      ReadConsoleOutputW(out, cells, size, COORD{0, 0}, &region);
      unsigned long long digest = 1469598103934665603ull;  // FNV-1a
      auto mix = [&digest](unsigned value) { digest = (digest ^ value) * 1099511628211ull; };
      for (int i = 0; i < size.X * size.Y; ++i) {
        mix(cells[i].Char.UnicodeChar);
        mix(cells[i].Attributes);
      }
      mix(static_cast<unsigned>(info.dwCursorPosition.X));
      mix(static_cast<unsigned>(info.dwCursorPosition.Y));
      reply = std::to_string(digest);
    } else if (std::strncmp(line, "cursor", 6) == 0) {
      CONSOLE_SCREEN_BUFFER_INFO info{};
      GetConsoleScreenBufferInfo(out, &info);
      reply = std::to_string(info.dwCursorPosition.X - info.srWindow.Left + 1) + " " +
              std::to_string(info.dwCursorPosition.Y - info.srWindow.Top + 1);
    } else if (std::strncmp(line, "ctrl-c", 6) == 0) {
      SetConsoleCtrlHandler(nullptr, TRUE);
      reply = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) ? "sent" : "failed";
    } else if (std::strncmp(line, "exit", 4) == 0) {
      DWORD status = 999;
      if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &status);
      reply = std::to_string(status);
    }
    std::fprintf(replies, "%s\n", reply.c_str());
    std::fflush(replies);
  }
  return 0;
}
