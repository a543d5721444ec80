// The console on Windows: cells and attributes go straight into the console's screen
// buffer, keys come as the console's own exact key events. What is drawn between two waits
// for a key goes out as one batch: the window's scrolls in one call, the changed rows in as
// few rectangles as they need, then the cursor. Standard input and output that are files
// or pipes are byte streams, as on a POSIX terminal.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "console/cp866.hpp"
#include "console/platform.hpp"
#include "console/stream/key_decoder.hpp"
#include "console/stream/stream_console.hpp"
#include "console/stream/stream_keys.hpp"
#include "console/windows/console_api.hpp"

namespace console::windows {

// On a console: the screen buffer's window, drawn through a picture of it in one batch per
// wait. On a file or a pipe: the shared byte-stream console, as on POSIX.
class WindowsConsole : public stream::StreamConsole {
 public:
  // HIGH gives the Unicode of the code page 866 codes 0x80 to 0xFF.
  WindowsConsole(ConsoleApi& api, const Cp866High& high);

  void GetScreenInfo(ScreenInfo& info) override;
  void SetCursor(Coord where) override;
  void WriteCell(Coord where, uint8_t character, uint16_t attribute) override;
  void WriteCells(Coord where, const uint8_t* characters, int count, uint16_t attribute) override;
  void ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                  uint16_t fill_attribute) override;
  uint32_t PendingInputEvents() override;
  InputEvent ReadInputEvent() override;
  void WaitForInput() override;
  void WaitForInputAtMost(uint32_t timeout_ms) override;
  uint64_t NowMs() override { return api_.NowMs(); }
  bool InputEnded() override;
  void FinalFlush() override;

  // Draw without colours where the output is a stream; the console's own cells keep theirs.
  void SetMonochrome(bool monochrome) {
    if (!console_out_) StreamConsole::SetMonochrome(monochrome);
  }

  // The key event of an input record; the character in code page 866, 0 where it has none.
  KeyEvent KeyOf(const ConsoleInput& input) const;

 private:
  void Write(std::string_view bytes) override { api_.WriteBytes(bytes); }
  void ColoursChanged(bool changed) override { api_.ColoursChanged(changed); }
  bool InWindow(Coord where) const;
  std::size_t IndexOf(Coord where) const;
  void MarkDirty(int row, int first, int last);
  // Sends what has been drawn on a console since the last wait, and the cursor.
  void FlushConsole();
  void PumpStream();

  ConsoleApi& api_;
  Cp866High high_;
  std::array<char16_t, 256> utf16_{};  // the UTF-16 glyph of every code
  bool console_out_ = false;
  bool console_in_ = false;
  ScreenInfo info_;

  // Console output: the window as it will be, and what of it the console lacks.
  int width_ = 0;
  int height_ = 0;
  std::vector<ConsoleCell> shadow_;
  std::vector<std::pair<int, int>> dirty_;  // per window row: first and last column, or -1
  int pending_scroll_ = 0;                  // whole-window scrolls by one row, not yet sent
  ConsoleCell scroll_fill_;
  bool cursor_sent_ = false;

  // Stream output and input.
  std::array<std::string, 256> glyphs_;
  std::unique_ptr<stream::KeyDecoder> decoder_;
  std::unique_ptr<stream::StreamKeys> stream_keys_;
  bool ended_ = false;
};

}  // namespace console::windows
