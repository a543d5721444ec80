#include "console/posix/terminal_console.hpp"

#include <algorithm>
#include <cstdint>

#include "runtime/platform.hpp"
#include "runtime/posix/signals.hpp"

namespace console::posix {
namespace {

// Coordinates are signed 16-bit on the platform boundary.
constexpr int kLargestSide = 32767;
// What one read takes in.
constexpr std::size_t kReadSize = 4096;
// Reads in one pump at most, so that a flood of input cannot starve the output.
constexpr int kReadsPerPump = 8;

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
  int width = 80;
  int height = 25;
  if (tty_.WindowSize(width, height)) {
    width = std::min(width, kLargestSide);
    height = std::min(height, kLargestSide);
  }
  charset_ = LoadCharset(environment.codeset);
  OpenScreen(width, height, charset_.glyphs);
  SetMonochrome(environment.monochrome);
  tty_.TakeTheRestore();
  const int erase = tty_.EnterRawMode();
  decoder_ = std::make_unique<stream::KeyDecoder>(
      DecoderOptionsFor(charset_, erase, !tty_.input_is_terminal(), environment.term));
  stream_keys_ = std::make_unique<stream::StreamKeys>(*decoder_);

  if (!tty_.output_is_terminal()) {
    // A file or a pipe: the stream of an 80 x 25 terminal whose cursor starts at the top
    // left, so that the capture replays in one.
    cursor_ = Coord{0, 0};
    writer().AssumeCursor(0, 0);
    return;
  }
  writer().AssumeCursor(-1, -1);
  FindCursor(tty_.input_is_terminal(), true);
  if (tty_.input_is_terminal()) {
    tty_.RegisterKeyboardModes();
    writer().Append(Tty::kKeyboardModesOn);  // goes out with the first drawing
  }
  // A terminal that did not answer now is not asked again on a resume.
  answers_queries_ = replies_.cursor_reported;
  if (replies_.keyboard_protocol) {
    // The terminal reports every key press and release exactly: take them so. The flags
    // come off again on every way out and on a stop.
    tty_.RegisterKeyboardFlags();
    writer().Append(Tty::kPushKeyboardFlags);  // goes out with the first drawing
    decoder_->SetKittyKeyboard(true);
  }
}

void TerminalConsole::Take(std::vector<stream::Decoded>& decoded) {
  for (const stream::Decoded& item : decoded) {
    if (item.kind != stream::Decoded::Kind::kKey)
      replies_.Take(item, width(), height());
    else if (!RaiseSignalKey(item.key))
      Queue(item.key);
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

void TerminalConsole::ReadInput(int timeout_ms) {
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
  // A sequence cut short by silence ends once its time is up.
  if (decoder_->Deadline()) {
    decoder_->Expire(now_ms_(), decoded);
    Take(decoded);
  }
}

void TerminalConsole::Pump() {
  if (runtime::TakeResumed()) Resume();
  if (tty_.input_is_terminal()) ReadInput(0);
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
  if (KeysWaiting() || ended_) return;
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
  return ended_ && !KeysWaiting();
}

}  // namespace console::posix
