// The start-up handshake with a terminal, and its repetition after a stop: where the cursor
// is, and whether the terminal speaks the kitty keyboard protocol.
#include "console/posix/terminal_console.hpp"

namespace console::posix {

void TerminalConsole::FindCursor(bool ask, bool keyboard_query) {
  replies_ = StartupReplies{};
  if (ask) {
    // At start: the cursor, the keyboard protocol's flags, and the device attributes that
    // every terminal answers last.
    tty_.Write(keyboard_query ? "\x1b[6n\x1b[?u\x1b[c" : "\x1b[6n");
    decoder_->ExpectReplies(true);
    replies_.cursor_expected = true;
    replies_.attributes_expected = keyboard_query;
    const uint64_t give_up = now_ms_() + kCursorReportWaitMs;
    for (uint64_t now = now_ms_(); !replies_.Complete() && !ended_ && now < give_up;
         now = now_ms_()) {
      ReadInput(static_cast<int>(give_up - now));
    }
    replies_.StopWaiting();
    decoder_->ExpectReplies(false);
  }
  if (replies_.cursor_reported) {
    cursor_ = replies_.cursor;
    writer().AssumeCursor(cursor_.x, cursor_.y);
  } else {
    // No answer: go on from the start of the bottom row.
    cursor_ = Coord{0, static_cast<int16_t>(height() - 1)};
  }
}

void TerminalConsole::Resume() {
  writer().ForgetColours();
  writer().ForgetScreen();
  writer().AssumeCursor(-1, -1);
  if (!tty_.output_is_terminal()) return;
  decoder_->ForgetModifiers();
  FindCursor(tty_.input_is_terminal() && answers_queries_, false);
}

}  // namespace console::posix
