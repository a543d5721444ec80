#include "console/posix/terminal_console.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "console/native_console.hpp"
#include "runtime/platform.hpp"
#include "runtime/posix/signals.hpp"
#include "runtime/runtime.hpp"

namespace console::posix {
namespace {

// Coordinates are signed 16-bit on the platform boundary.
constexpr int kLargestSide = 32767;
// What one read takes in.
constexpr std::size_t kReadSize = 4096;
// Reads in one pump at most, so that a flood of input cannot starve the output.
constexpr int kReadsPerPump = 8;
// Key events waiting at most. A PC's type-ahead buffer holds 15 keys; a terminal's paste can
// hold megabytes. What does not fit is dropped, so that memory stays flat and the keys kept
// are no more than a long line's.
constexpr std::size_t kTypeAhead = 256;

}  // namespace

stream::DecoderOptions TerminalConsole::DecoderOptionsFor(const TerminalCharset& charset, int erase,
                                                          bool byte_stream, std::string_view term) {
  stream::DecoderOptions options;
  options.keypad_moves = KeypadMovesInApplicationMode(term);
  options.utf8 = charset.utf8;
  options.cp866_high = charset.cp866_high;
  options.charset_high = charset.charset_high;
  options.lf_is_enter = byte_stream;
  if (erase >= 0) options.erase = static_cast<uint8_t>(erase);
  return options;
}

TerminalConsole::TerminalConsole(int in_fd, int out_fd, const Environment& environment,
                                 Clock now_ms)
    : tty_(in_fd, out_fd), now_ms_(now_ms) {
  if (tty_.WindowSize(width_, height_)) {
    width_ = std::min(width_, kLargestSide);
    height_ = std::min(height_, kLargestSide);
  }
  charset_ = LoadCharset(environment.codeset);
  writer_ = std::make_unique<stream::ScreenWriter>(width_, height_, charset_.glyphs);
  writer_->SetMonochrome(environment.monochrome);
  const int erase = tty_.EnterRawMode();
  decoder_ = std::make_unique<stream::KeyDecoder>(
      DecoderOptionsFor(charset_, erase, !tty_.input_is_terminal(), environment.term));
  stream_keys_ = std::make_unique<stream::StreamKeys>(*decoder_);

  if (!tty_.output_is_terminal()) {
    // A file or a pipe: the stream of an 80 x 25 terminal whose cursor starts at the top
    // left, so that the capture replays in one.
    cursor_ = Coord{0, 0};
    writer_->AssumeCursor(0, 0);
    return;
  }
  writer_->AssumeCursor(-1, -1);
  FindCursor(tty_.input_is_terminal(), true);
  if (tty_.input_is_terminal()) {
    tty_.RegisterKeyboardModes();
    writer_->Append(Tty::kKeyboardModesOn);  // goes out with the first drawing
  }
  // A terminal that did not answer now is not asked again on a resume.
  answers_queries_ = replies_.cursor_reported;
  if (replies_.keyboard_protocol) {
    // The terminal reports every key press and release exactly: take them so. The flags
    // come off again on every way out and on a stop.
    tty_.RegisterKeyboardFlags();
    writer_->Append(Tty::kPushKeyboardFlags);  // goes out with the first drawing
    decoder_->SetKittyKeyboard(true);
  }
}

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
      Pump(static_cast<int>(give_up - now));
    }
    replies_.StopWaiting();
    decoder_->ExpectReplies(false);
  }
  if (replies_.cursor_reported) {
    cursor_ = replies_.cursor;
    writer_->AssumeCursor(cursor_.x, cursor_.y);
  } else {
    // No answer: go on from the start of the bottom row.
    cursor_ = Coord{0, static_cast<int16_t>(height_ - 1)};
  }
}

void TerminalConsole::Resume() {
  writer_->ForgetColours();
  writer_->ForgetScreen();
  writer_->AssumeCursor(-1, -1);
  if (!tty_.output_is_terminal()) return;
  decoder_->ForgetModifiers();
  FindCursor(tty_.input_is_terminal() && answers_queries_, false);
}

void TerminalConsole::Take(std::vector<stream::Decoded>& decoded) {
  for (const stream::Decoded& item : decoded) {
    if (item.kind != stream::Decoded::Kind::kKey) {
      replies_.Take(item, width_, height_);
    } else if (!RaiseSignalKey(item.key) && keys_.size() < kTypeAhead) {
      keys_.push_back(item.key);
    }
  }
  decoded.clear();
}

// Under the keyboard protocol Ctrl+C, Ctrl+\ and Ctrl+Z arrive as key events, and the
// terminal raises no signal for them: raise it here, as the terminal would have, to the
// whole foreground job.
bool TerminalConsole::RaiseSignalKey(const KeyEvent& key) {
  if (!decoder_->KittyKeyboard() || !key.key_down) return false;
  if ((key.control_state & kCtrlPressed) == 0) return false;
  const int sig = tty_.SignalOfCharacter(key.character);
  if (sig == 0) return false;
  runtime::RaiseForJob(sig);
  return true;
}

void TerminalConsole::Pump(int timeout_ms) {
  std::vector<stream::Decoded> decoded;
  if (ended_) return;
  for (int round = 0; round < kReadsPerPump; ++round) {
    if (!tty_.WaitForInput(round == 0 ? timeout_ms : 0)) break;
    uint8_t buffer[kReadSize];
    const long got = tty_.Read(buffer, sizeof buffer);
    if (got > 0) {
      decoder_->Feed(buffer, static_cast<std::size_t>(got), now_ms_(), decoded);
      Take(decoded);
      continue;
    }
    if (got < 0) break;
    // End of file, a hang-up or a read error: no more keys will come.
    ended_ = true;
    decoder_->Finish(decoded);
    break;
  }
  decoder_->Expire(now_ms_(), decoded);
  Take(decoded);
}

void TerminalConsole::GetScreenInfo(ScreenInfo& info) {
  info.size = Coord{static_cast<int16_t>(width_), static_cast<int16_t>(height_)};
  info.window = Rect{0, 0, static_cast<int16_t>(width_ - 1), static_cast<int16_t>(height_ - 1)};
  info.cursor = cursor_;
  info.attribute = stream::kDefaultColours;
}

void TerminalConsole::SetCursor(Coord where) {
  if (where.x < 0 || where.y < 0 || where.x >= width_ || where.y >= height_) return;
  cursor_ = where;
}

void TerminalConsole::WriteCell(Coord where, uint8_t character, uint16_t attribute) {
  writer_->PutCell(where.x, where.y, character, attribute);
}

void TerminalConsole::ScrollRect(Rect source, Rect clip, Coord dest, uint8_t /*fill_char*/,
                                 uint16_t fill_attribute) {
  writer_->ScrollRect(source, clip, dest, fill_attribute);
}

uint32_t TerminalConsole::PendingInputEvents() {
  if (runtime::TakeResumed()) Resume();
  if (tty_.input_is_terminal()) Pump(0);
  return static_cast<uint32_t>(keys_.size());
}

InputEvent TerminalConsole::ReadInputEvent() {
  InputEvent event{EventKind::kKey, keys_.front()};
  keys_.pop_front();
  return event;
}

void TerminalConsole::WaitForInput() {
  Wait(-1);
}

void TerminalConsole::WaitForInputAtMost(uint32_t timeout_ms) {
  Wait(static_cast<int>(std::min<uint32_t>(timeout_ms, INT32_MAX)));
}

void TerminalConsole::Wait(int limit_ms) {
  if (runtime::TakeResumed()) Resume();
  Flush();
  if (!keys_.empty() || ended_) return;
  if (!tty_.input_is_terminal()) {
    PumpStream();
    return;
  }
  int timeout = limit_ms;
  if (const auto deadline = decoder_->Deadline()) {
    const uint64_t now = now_ms_();
    const int due = *deadline > now ? static_cast<int>(*deadline - now) : 0;
    timeout = timeout < 0 ? due : std::min(timeout, due);
  }
  // Blocks until a key arrives, the Esc decision falls due or the limit passes; the next
  // poll reads it.
  tty_.WaitForInput(timeout);
}

void TerminalConsole::PumpStream() {
  std::vector<stream::Decoded> decoded;
  const bool read = stream_keys_->Next(
      [this](uint8_t* buffer, std::size_t size) { return tty_.Read(buffer, size); }, decoded);
  Take(decoded);
  ended_ = stream_keys_->ended();
  // Nothing yet on a non-blocking input, or a signal came: wait, then look again.
  if (!read) tty_.WaitForInput(-1);
}

bool TerminalConsole::InputEnded() {
  return ended_ && keys_.empty();
}

void TerminalConsole::Flush(bool final) {
  const std::string frame = writer_->TakeFrame(cursor_, final);
  // Colours set on the terminal are a mode to switch off again on the way out.
  if (writer_->colours_changed()) tty_.ColoursChanged(true);
  if (!frame.empty()) tty_.Write(frame);
  if (!writer_->colours_changed()) tty_.ColoursChanged(false);
}

void TerminalConsole::FinalFlush() {
  Flush(true);
}

}  // namespace console::posix

namespace console {

Platform& OpenNativeConsole(const ConsoleOptions& options) {
  const std::string term = posix::TerminalType();
  if (term == "dumb" && isatty(STDOUT_FILENO)) {
    // Every frame is drawn by moving the cursor, which a dumb terminal cannot do.
    const std::string sorry = std::string(program_invocation_short_name) +
                              ": this terminal (TERM=dumb) cannot move the cursor, which the "
                              "program needs\n";
    runtime::WriteAll(STDERR_FILENO, sorry);
    std::_Exit(1);
  }
  static posix::TerminalConsole console(
      STDIN_FILENO, STDOUT_FILENO,
      {posix::LocaleCodeset(), term, options.monochrome || posix::NoColorAsked()},
      posix::MonotonicMs);
  return console;
}

}  // namespace console
