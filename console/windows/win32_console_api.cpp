// The console calls on kernel32: the only file of the platform that includes windows.h.
#include <windows.h>

#include <cstdlib>

#include "console/native_console.hpp"
#include "console/windows/console_api.hpp"
#include "console/windows/windows_console.hpp"
#include "runtime/platform.hpp"
#include "runtime/runtime.hpp"

namespace console::windows {
namespace {

SMALL_RECT ToSmallRect(Rect rect) {
  return SMALL_RECT{rect.left, rect.top, rect.right, rect.bottom};
}
COORD ToCoord(Coord where) {
  return COORD{where.x, where.y};
}

class Win32ConsoleApi : public ConsoleApi {
 public:
  Win32ConsoleApi() : in_(GetStdHandle(STD_INPUT_HANDLE)), out_(GetStdHandle(STD_OUTPUT_HANDLE)) {}

  bool GetScreenBufferInfo(ScreenInfo& info) override {
    CONSOLE_SCREEN_BUFFER_INFO buffer{};
    if (!GetConsoleScreenBufferInfo(out_, &buffer)) return false;
    info.size = Coord{buffer.dwSize.X, buffer.dwSize.Y};
    info.cursor = Coord{buffer.dwCursorPosition.X, buffer.dwCursorPosition.Y};
    info.attribute = buffer.wAttributes;
    info.window = Rect{buffer.srWindow.Left, buffer.srWindow.Top, buffer.srWindow.Right,
                       buffer.srWindow.Bottom};
    return true;
  }

  std::vector<ConsoleCell> ReadOutput(Rect rect) override {
    const int width = rect.right - rect.left + 1;
    const int height = rect.bottom - rect.top + 1;
    std::vector<CHAR_INFO> buffer(static_cast<std::size_t>(width * height));
    SMALL_RECT region = ToSmallRect(rect);
    ReadConsoleOutputW(out_, buffer.data(),
                       COORD{static_cast<SHORT>(width), static_cast<SHORT>(height)}, COORD{0, 0},
                       &region);
    std::vector<ConsoleCell> cells;
    cells.reserve(buffer.size());
    for (const CHAR_INFO& cell : buffer)
      cells.push_back(ConsoleCell{static_cast<char16_t>(cell.Char.UnicodeChar), cell.Attributes});
    return cells;
  }

  void WriteOutput(Rect rect, const std::vector<ConsoleCell>& cells) override {
    std::vector<CHAR_INFO> buffer(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
      buffer[i].Char.UnicodeChar = static_cast<WCHAR>(cells[i].character);
      buffer[i].Attributes = cells[i].attribute;
    }
    SMALL_RECT region = ToSmallRect(rect);
    WriteConsoleOutputW(out_, buffer.data(),
                        COORD{static_cast<SHORT>(rect.right - rect.left + 1),
                              static_cast<SHORT>(rect.bottom - rect.top + 1)},
                        COORD{0, 0}, &region);
  }

  void ScrollScreenBuffer(Rect source, Rect clip, Coord dest, ConsoleCell fill) override {
    const SMALL_RECT from = ToSmallRect(source);
    const SMALL_RECT within = ToSmallRect(clip);
    CHAR_INFO blank{};
    blank.Char.UnicodeChar = static_cast<WCHAR>(fill.character);
    blank.Attributes = fill.attribute;
    ScrollConsoleScreenBufferW(out_, &from, &within, ToCoord(dest), &blank);
  }

  void SetCursorPosition(Coord where) override { SetConsoleCursorPosition(out_, ToCoord(where)); }

  bool InputIsConsole() override {
    DWORD mode = 0;
    return GetConsoleMode(in_, &mode) != 0;
  }

  uint32_t NumberOfInputEvents() override {
    DWORD count = 0;
    GetNumberOfConsoleInputEvents(in_, &count);
    return count;
  }

  ConsoleInput ReadInput() override {
    INPUT_RECORD record{};
    DWORD read = 0;
    ReadConsoleInputW(in_, &record, 1, &read);
    ConsoleInput input;
    input.is_key = read == 1 && record.EventType == KEY_EVENT;
    if (!input.is_key) return input;
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    input.key_down = key.bKeyDown != 0;
    input.virtual_key = key.wVirtualKeyCode;
    input.scan_code = key.wVirtualScanCode;
    input.character = static_cast<char16_t>(key.uChar.UnicodeChar);
    input.control_state = key.dwControlKeyState;
    return input;
  }

  void WaitForInput(uint32_t timeout_ms) override { WaitForSingleObject(in_, timeout_ms); }
  uint64_t NowMs() override { return GetTickCount64(); }

  long ReadBytes(uint8_t* buffer, std::size_t size) override {
    DWORD read = 0;
    if (!ReadFile(in_, buffer, static_cast<DWORD>(size), &read, nullptr)) return 0;
    return static_cast<long>(read);
  }

  void WriteBytes(std::string_view bytes) override {
    if (const int error = runtime::WriteAll(1, bytes)) runtime::OutputLost(error);
  }

  void ColoursChanged(bool changed) override { runtime::ColoursChanged(1, changed); }

 private:
  HANDLE in_;
  HANDLE out_;
};

// Code page 866 as Windows converts it, so that the console's own code pages never change.
Cp866High Cp866HighOfWindows() {
  Cp866High high{};
  for (int code = 0x80; code <= 0xFF; ++code) {
    const char byte = static_cast<char>(code);
    WCHAR wide = 0;
    if (MultiByteToWideChar(866, 0, &byte, 1, &wide, 1) == 1)
      high[static_cast<std::size_t>(code - 0x80)] = wide;
  }
  return high;
}

}  // namespace
}  // namespace console::windows

namespace console {

Platform& OpenNativeConsole(const ConsoleOptions& options) {
  static windows::Win32ConsoleApi api;
  const char* no_color = std::getenv("NO_COLOR");
  static const std::unique_ptr<Platform> console =
      windows::OpenWindowsConsole(api, windows::Cp866HighOfWindows(),
                                  options.monochrome || (no_color != nullptr && *no_color != 0));
  return *console;
}

DescriptionSink NativeDescriptionSink() {
  return nullptr;
}

}  // namespace console
