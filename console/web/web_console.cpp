#include "console/web/web_console.hpp"

#include <algorithm>
#include <cstdint>

#include "console/character_keys.hpp"
#include "runtime/runtime.hpp"

namespace console::web {

WebConsole::WebConsole(Page& page, const Cp866High& high)
    : page_(page), glyphs_(Utf8Glyphs(high)), keys_(high) {
  OpenScreen(kColumns, kRows, glyphs_);
  // The page's terminal is new: its cursor is at the top left, its colours its own.
  writer().AssumeCursor(0, 0);
}

void WebConsole::Pump() {
  BrowserKey event;
  while (page_.NextKey(event)) {
    const std::optional<KeyEvent> key = keys_.Convert(event);
    if (!key) continue;
    const bool ctrl_c = key->key_down && key->character == 3 &&
                        key->scan_code == KeyOfAscii('c').scan &&
                        (key->control_state & kCtrlPressed) != 0;
    if (ctrl_c) runtime::Halt(kInterruptedStatus);
    Queue(*key);
  }
}

void WebConsole::WaitForInput() {
  Flush();
  Pump();
  if (!KeysWaiting()) page_.WaitForKey(-1);
}

void WebConsole::WaitForInputAtMost(uint32_t timeout_ms) {
  Flush();
  Pump();
  if (!KeysWaiting()) page_.WaitForKey(static_cast<int>(std::min<uint32_t>(timeout_ms, INT32_MAX)));
}

}  // namespace console::web
