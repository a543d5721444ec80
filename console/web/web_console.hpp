// The console in a web page: the screen is the page's terminal (xterm.js), 80 by 25, on
// which the program starts at the top left; cells go to it as the escape sequences of the
// terminal platform's screen writer, in one write per wait; keys are the browser's own
// keyboard events, presses and releases, converted exactly.
#pragma once

#include <array>
#include <deque>
#include <string>

#include "console/platform.hpp"
#include "console/stream/screen_writer.hpp"
#include "console/web/browser_keys.hpp"
#include "console/web/page.hpp"

namespace console::web {

class WebConsole : public Platform {
 public:
  static constexpr int kColumns = 80;
  static constexpr int kRows = 25;
  // Ctrl+C ends the program, as it does on a terminal; the status a shell shows for that.
  static constexpr int kInterruptedStatus = 130;

  // HIGH gives the Unicode of the code page 866 codes 0x80 to 0xFF.
  WebConsole(Page& page, const Cp866High& high);

  void GetScreenInfo(ScreenInfo& info) override;
  void SetCursor(Coord where) override;
  Coord Cursor() override { return cursor_; }
  void WriteCell(Coord where, uint8_t character, uint16_t attribute) override;
  void WriteCells(Coord where, const uint8_t* characters, int count, uint16_t attribute) override {
    writer_.PutCells(where.x, where.y, characters, count, attribute);
  }
  void ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                  uint16_t fill_attribute) override;
  uint32_t PendingInputEvents() override;
  InputEvent ReadInputEvent() override;
  void WaitForInput() override;
  void WaitForInputAtMost(uint32_t timeout_ms) override;
  uint64_t NowMs() override { return page_.NowMs(); }
  bool InputEnded() override { return false; }  // a page's keyboard never runs out
  void FinalFlush() override;
  void Narrate(std::string_view kind, std::string_view sentence) override {
    page_.Narrate(kind, sentence);
  }
  bool Narrates() override { return true; }

  // Draw without colours.
  void SetMonochrome(bool monochrome) { writer_.SetMonochrome(monochrome); }

 private:
  // Sends what has been drawn since the last wait, with the cursor where the layer put it;
  // FINAL: the last output of a run, in the terminal's default colours.
  void Flush(bool final = false);
  // Converts the key events the page holds.
  void Pump();

  Page& page_;
  std::array<std::string, 256> glyphs_;
  stream::ScreenWriter writer_;
  BrowserKeys keys_;
  std::deque<KeyEvent> queue_;
  Coord cursor_;
};

}  // namespace console::web
