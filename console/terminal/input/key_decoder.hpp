// Turns the bytes a terminal sends into the key events of a PC keyboard. A pure state
// machine: bytes and the time they arrived go in, key events come out. It reads no file
// and looks at no clock; the caller passes time in and asks when the next decision falls
// due.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "console/pc_keyboard.hpp"

namespace console::terminal {

struct Decoded {
  // A key event, or one of the terminal's replies: the cursor position, the keyboard
  // protocol's flags (CSI ? flags u), the device attributes (CSI ? ... c).
  enum class Kind : uint8_t { kKey, kCursorReport, kKeyboardFlags, kDeviceAttributes };
  Kind kind = Kind::kKey;
  KeyEvent key;
  int row = 0;  // cursor report, 1-based
  int column = 0;
  int value = 0;  // keyboard flags
};

struct DecoderOptions {
  uint8_t erase = 127;       // the terminal's erase character: that byte is Backspace
  bool lf_is_enter = false;  // input is a byte stream whose lines end with LF
  bool utf8 = true;          // else single-byte input, see charset_high
  // Unicode of the code page 866 codes 0x80 to 0xFF.
  std::array<char32_t, 128> cp866_high{};
  // Unicode of the input bytes 0x80 to 0xFF when the input is single-byte (0: none).
  std::array<char32_t, 128> charset_high{};
};

class KeyDecoder {
 public:
  // How long a lone Esc, or a sequence stopped half-way, waits for its next byte.
  static constexpr uint64_t kTimeoutMs = 40;
  // The longest control sequence kept whole; longer ones are skipped to their end.
  static constexpr std::size_t kMaxSequence = 64;
  // The longest string (OSC, DCS, ...) skipped before the decoder gives up on it.
  static constexpr std::size_t kMaxString = 4096;

  explicit KeyDecoder(const DecoderOptions& options);

  // Decodes DATA, which arrived at NOW_MS; what the decoder could decide goes to OUT.
  void Feed(const uint8_t* data, std::size_t size, uint64_t now_ms, std::vector<Decoded>& out);
  // Decides a pending sequence whose time is up at NOW_MS.
  void Expire(uint64_t now_ms, std::vector<Decoded>& out);
  // No more input will come: decide what is pending now.
  void Finish(std::vector<Decoded>& out);
  // When Expire has something to decide; empty while nothing is pending.
  std::optional<uint64_t> Deadline() const;
  bool Pending() const { return state_ != State::kGround; }

  // While a cursor position report is expected, CSI row;col R is taken as that report,
  // never as a modified F3.
  void ExpectCursorReport() { cursor_report_expected_ = true; }
  bool CursorReportExpected() const { return cursor_report_expected_; }

  // The terminal now reports keys in the kitty keyboard protocol (the flags the console
  // pushes): presses, repeats and releases, modifier keys alone, keypad keys apart.
  void SetKittyKeyboard(bool on) { kitty_ = on; }
  bool KittyKeyboard() const { return kitty_; }
  // Modifier keys may have been let go unseen (while the program was stopped).
  void ForgetModifiers() { held_ = 0; }

  // Code page 866 code of a Unicode character; -1 when that code page lacks it.
  int ToCp866(char32_t code_point) const;

 private:
  enum class State : uint8_t {
    kGround,
    kEscape,     // ESC
    kEscEsc,     // ESC ESC: Alt with Esc, or Alt with a sequence
    kCsi,        // ESC [
    kLinuxFn,    // ESC [ [ : the Linux console's F1 to F5
    kMouse,      // ESC [ M : three raw bytes follow
    kSs3,        // ESC O
    kString,     // OSC, DCS, APC, PM, SOS
    kStringEsc,  // ESC inside a string: ESC \ ends it
    kUtf8,
  };

  void Byte(uint8_t byte, std::vector<Decoded>& out);
  void Ground(uint8_t byte, std::vector<Decoded>& out);
  void EscapeByte(uint8_t byte, std::vector<Decoded>& out);
  void CsiByte(uint8_t byte, std::vector<Decoded>& out);
  void Ss3Byte(uint8_t byte, std::vector<Decoded>& out);
  void Utf8Byte(uint8_t byte, std::vector<Decoded>& out);
  void DispatchCsi(uint8_t final_byte, std::vector<Decoded>& out);
  void StartUtf8(uint8_t byte, bool alt, std::vector<Decoded>& out);
  void EmitCodePoint(char32_t code_point, uint32_t state, std::vector<Decoded>& out);
  void Emit(KeyEvent key, std::vector<Decoded>& out);
  void KittyKey(const std::vector<std::vector<int>>& fields, std::vector<Decoded>& out);
  // The control-key state of a modifier parameter (xterm's, or the kitty protocol's).
  uint32_t Modifiers(int parameter) const;
  // Alt and Ctrl as their own key events left them.
  uint32_t HeldState() const;
  void Reset();

  DecoderOptions options_;
  State state_ = State::kGround;
  bool alt_ = false;      // the sequence came behind an extra ESC
  std::string sequence_;  // parameter and intermediate bytes of the sequence
  bool overlong_ = false;
  std::size_t skipped_ = 0;
  int utf8_left_ = 0;
  char32_t utf8_value_ = 0;
  uint64_t last_byte_ms_ = 0;
  bool cursor_report_expected_ = false;
  bool kitty_ = false;
  uint8_t held_ = 0;  // which Alt and Ctrl keys are down, by their own events
};

}  // namespace console::terminal
