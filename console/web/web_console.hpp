// The console in a web page: the screen is the page's terminal (xterm.js), 80 by 25, on
// which the program starts at the top left; cells go to it as the escape sequences of the
// terminal platform's screen writer, in one write per wait; keys are the browser's own
// keyboard events, presses and releases, converted exactly.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "console/stream/stream_console.hpp"
#include "console/web/browser_keys.hpp"
#include "console/web/page.hpp"

namespace console::web {

class WebConsole : public stream::StreamConsole {
 public:
  static constexpr int kColumns = 80;
  static constexpr int kRows = 25;
  // Ctrl+C ends the program, as it does on a terminal; the status a shell shows for that.
  static constexpr int kInterruptedStatus = 130;

  // HIGH gives the Unicode of the code page 866 codes 0x80 to 0xFF.
  WebConsole(Page& page, const Cp866High& high);

  void WaitForInput() override;
  void WaitForInputAtMost(uint32_t timeout_ms) override;
  uint64_t NowMs() override { return page_.NowMs(); }
  bool InputEnded() override { return false; }  // a page's keyboard never runs out

 private:
  void Write(std::string_view bytes) override { page_.Write(bytes); }
  // Converts the key events the page holds.
  void Pump() override;

  Page& page_;
  std::array<std::string, 256> glyphs_;
  BrowserKeys keys_;
};

}  // namespace console::web
