// The terminal's descriptors, the clock and the locale: the one place that touches termios,
// ioctl, poll, read, write, the clock and the locale. The descriptors are given, so a test
// can hand in a pipe or a pseudo-terminal.
#pragma once

#include <termios.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace console::posix {

// The monotonic clock in milliseconds.
uint64_t MonotonicMs();
// The terminal type that TERM names; empty when it is not set.
std::string TerminalType();
// NO_COLOR is set and not empty: the user wants no colours.
bool NoColorAsked();

class Tty {
 public:
  // The kitty keyboard protocol's flags the console asks for: disambiguate 1, event types
  // 2, alternate keys 4, all keys as escape codes 8, associated text 16.
  static constexpr std::string_view kPushKeyboardFlags = "\x1b[>31u";
  static constexpr std::string_view kPopKeyboardFlags = "\x1b[<u";

  Tty(int in_fd, int out_fd);

  // Makes this the terminal whose modes the run-time's restore undoes on every way out (and
  // sets again after a stop): the program's one terminal. The modes below are registered
  // only for it.
  void TakeTheRestore() const;

  bool input_is_terminal() const { return in_tty_; }
  bool output_is_terminal() const { return out_tty_; }
  // The output terminal's size in cells; false when it cannot be had.
  bool WindowSize(int& width, int& height) const;

  // Puts the input terminal into raw mode, its undo (and redo, after a stop) registered
  // with the run-time's restore when this Tty has taken it. Returns the terminal's erase character,
  // or -1 when input is no terminal.
  int EnterRawMode();
  // The signal a character raises on this terminal (Ctrl+C: SIGINT, ...), as the settings
  // found at start say; 0 for none, and for every character when input is no terminal.
  int SignalOfCharacter(uint8_t character) const;

  // Waits until input can be read, at most TIMEOUT_MS (-1: for ever); true when it can.
  bool WaitForInput(int timeout_ms) const;
  // Reads what input there is: the byte count, 0 at the end of input, -1 when nothing
  // can be read now (interrupted, or a non-blocking descriptor with nothing yet).
  long Read(uint8_t* buffer, std::size_t size) const;
  // Writes all of BYTES; an output that is gone for good ends the run (runtime::OutputLost).
  void Write(std::string_view bytes) const;

  // Modes the console switches on in the terminal, each undone on every way out and
  // around a stop, through the run-time's restore.
  // The keyboard modes for the run: the keypad in application mode (DECKPAM), so that
  // keypad Enter and slash arrive apart from Enter and slash; and Alt as an ESC prefix
  // (xterm's metaSendsEscape), the terminal's own setting saved and restored around it.
  static constexpr std::string_view kKeyboardModesOn = "\x1b[?1036s\x1b[?1036h\x1b=";
  static constexpr std::string_view kKeyboardModesOff = "\x1b>\x1b[?1036r";

  // Each is registered before it goes out (with the first drawing), so that no way out
  // misses it.
  void RegisterKeyboardModes() const;
  // The kitty keyboard protocol's flags.
  void RegisterKeyboardFlags() const;
  // Colours: reset to the terminal's defaults on the way out, while they are changed (a
  // fault's report comes after the reset).
  void ColoursChanged(bool changed) const;

 private:
  int in_fd_;
  int out_fd_;
  bool in_tty_;
  bool out_tty_;
  termios saved_{};
  bool raw_ = false;
};

}  // namespace console::posix
