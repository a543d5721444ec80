#include "console/web/web_console.hpp"

#include <algorithm>
#include <cstdint>

#include "console/character_keys.hpp"
#include "runtime/runtime.hpp"

namespace console::web {

WebConsole::WebConsole(Page& page, const Cp866High& high)
    : page_(page), glyphs_(Utf8Glyphs(high)), writer_(kColumns, kRows, glyphs_), keys_(high) {
  // The page's terminal is new: its cursor is at the top left, its colours its own. Hidden
  // cells are concealed, which xterm.js honours on any theme.
  writer_.AssumeCursor(0, 0);
}

void WebConsole::GetScreenInfo(ScreenInfo& info) {
  info.size = Coord{kColumns, kRows};
  info.cursor = cursor_;
  info.attribute = stream::kDefaultColours;
  info.window = Rect{0, 0, kColumns - 1, kRows - 1};
}

void WebConsole::SetCursor(Coord where) {
  if (where.x < 0 || where.y < 0 || where.x >= kColumns || where.y >= kRows) return;
  cursor_ = where;
}

void WebConsole::WriteCell(Coord where, uint8_t character, uint16_t attribute) {
  writer_.PutCell(where.x, where.y, character, attribute);
}

void WebConsole::ScrollRect(Rect source, Rect clip, Coord dest, uint8_t /*fill_char*/,
                            uint16_t fill_attribute) {
  writer_.ScrollRect(source, clip, dest, fill_attribute);
}

void WebConsole::Flush(bool final) {
  const std::string frame = writer_.TakeFrame(cursor_, final);
  if (!frame.empty()) page_.Write(frame);
}

void WebConsole::FinalFlush() {
  Flush(true);
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
    queue_.push_back(*key);
  }
}

uint32_t WebConsole::PendingInputEvents() {
  Pump();
  return static_cast<uint32_t>(queue_.size());
}

InputEvent WebConsole::ReadInputEvent() {
  const InputEvent event{EventKind::kKey, queue_.front()};
  queue_.pop_front();
  return event;
}

void WebConsole::WaitForInput() {
  Flush();
  Pump();
  if (queue_.empty()) page_.WaitForKey(-1);
}

void WebConsole::WaitForInputAtMost(uint32_t timeout_ms) {
  Flush();
  Pump();
  if (queue_.empty()) page_.WaitForKey(static_cast<int>(std::min<uint32_t>(timeout_ms, INT32_MAX)));
}

}  // namespace console::web
