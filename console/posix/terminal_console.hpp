// The console on a POSIX terminal: the screen is the terminal's visible area, cells are
// drawn with escape sequences, keys are decoded from what the terminal sends. Standard
// input and output may also be files or pipes.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "console/posix/charset.hpp"
#include "console/posix/startup_replies.hpp"
#include "console/posix/tty.hpp"
#include "console/stream/key_decoder.hpp"
#include "console/stream/stream_console.hpp"
#include "console/stream/stream_keys.hpp"

namespace console::posix {

class TerminalConsole : public stream::StreamConsole {
 public:
  // How long the start-up waits for the terminal to report the cursor.
  static constexpr int kCursorReportWaitMs = 300;

  // Milliseconds on a clock that only goes forward.
  using Clock = uint64_t (*)();

  // What the program's environment says of the terminal.
  struct Environment {
    std::string codeset;  // the locale's character set
    std::string term;     // TERM
    bool monochrome = false;
  };

  // Takes over IN_FD and OUT_FD: puts a terminal on IN_FD into raw mode (undone by the
  // run-time's restore on every way out) and asks a terminal on OUT_FD where the cursor is.
  // NOW_MS times the keys.
  TerminalConsole(int in_fd, int out_fd, const Environment& environment, Clock now_ms);

  void WaitForInput() override;
  void WaitForInputAtMost(uint32_t timeout_ms) override;
  uint64_t NowMs() override { return now_ms_(); }
  bool InputEnded() override;

 private:
  void Write(std::string_view bytes) override { tty_.Write(bytes); }
  void ColoursChanged(bool changed) override { tty_.ColoursChanged(changed); }
  // After a stop, the terminal asked again; then what the terminal has sent.
  void Pump() override;

  static stream::DecoderOptions DecoderOptionsFor(const TerminalCharset& charset, int erase,
                                                  bool byte_stream, std::string_view term);
  // The start-up handshake (terminal_handshake.cpp): asks the terminal where the cursor is
  // (when ASK), else or without an answer takes the start of the bottom row. With
  // KEYBOARD_QUERY, asks too whether it speaks the kitty keyboard protocol.
  void FindCursor(bool ask, bool keyboard_query);
  // After a stop: the shell has written meanwhile, so the cursor is asked for again.
  void Resume();
  // Raises the signal of a signal key that arrived as a key event; true when it did.
  bool RaiseSignalKey(const KeyEvent& key);
  // Reads what input is there (waiting up to TIMEOUT_MS, -1 for ever) and decodes it.
  void ReadInput(int timeout_ms);
  void Take(std::vector<stream::Decoded>& decoded);
  // The wait for input, at most LIMIT_MS (-1: no limit).
  void Wait(int limit_ms);
  // Standard input is a file or a pipe: decodes it up to the next key.
  void PumpStream();

  Tty tty_;
  Clock now_ms_;
  TerminalCharset charset_;
  std::unique_ptr<stream::KeyDecoder> decoder_;
  std::unique_ptr<stream::StreamKeys> stream_keys_;
  bool ended_ = false;
  StartupReplies replies_;
  bool answers_queries_ = false;  // the terminal answered the query at start
};

}  // namespace console::posix
