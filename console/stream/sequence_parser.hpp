// Cuts the bytes a terminal sends into tokens: single bytes, UTF-8 characters, and the
// control sequences (CSI, SS3, the Linux console's function keys). What the tokens mean is
// the decoder's business; strings (OSC, DCS, APC, PM, SOS) and X10 mouse reports are
// skipped here whole. Bytes and the time they arrived go in, tokens come out: no file, no
// clock.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace console::stream {

struct Token {
  enum class Kind : uint8_t {
    kByte,           // a byte of its own: ASCII, a control character, or a lone ESC
    kCharacter,      // a UTF-8 character
    kCsi,            // ESC [ parameters intermediates final
    kSs3,            // ESC O [[number;]modifier] final
    kLinuxFunction,  // ESC [ [ A..E
  };
  Kind kind = Kind::kByte;
  // The token came behind an extra ESC: Alt held ("meta sends escape").
  bool alt = false;
  uint8_t byte = 0;         // kByte: the byte; kCsi, kSs3, kLinuxFunction: the final byte
  char32_t code_point = 0;  // kCharacter
  // kCsi: the private prefix (< = > ?), or 0; the intermediate bytes; and how many
  // parameters there are, each a list of ':'-separated numbers. No key needs more than
  // the first few, so only they are kept.
  static constexpr std::size_t kKeptParameters = 4;
  static constexpr std::size_t kKeptSubParameters = 8;
  char prefix = 0;
  std::string intermediates;
  std::size_t parameter_count = 0;
  std::array<std::array<int, kKeptSubParameters>, kKeptParameters> parameters{};
  std::array<uint8_t, kKeptParameters> sub_counts{};
  // kSs3: the modifier parameter of old xterm's SS3 m X or mlterm's SS3 0;m X; 1 when
  // there is none.
  int modifier = 1;

  // Number J of parameter I; -1 where it is left out. Param(I) is the first number,
  // Sub(I, 1) the event type of the kitty keyboard protocol.
  int Param(std::size_t i) const { return Sub(i, 0); }
  int Sub(std::size_t i, std::size_t j) const {
    return i < std::min(parameter_count, kKeptParameters) && j < sub_counts[i] ? parameters[i][j]
                                                                               : -1;
  }
};

class SequenceParser {
 public:
  // How long a lone Esc, or a sequence stopped half-way, waits for its next byte.
  static constexpr uint64_t kTimeoutMs = 40;
  // How long a UTF-8 character waits for the rest of its bytes. A lead byte cannot be
  // mistaken for anything else, so there is nothing to decide early.
  static constexpr uint64_t kUtf8TimeoutMs = 1000;
  // The longest control sequence kept whole; longer ones are skipped to their end.
  static constexpr std::size_t kMaxSequence = 64;
  // The longest string (OSC, DCS, ...) skipped before the parser gives up on it.
  static constexpr std::size_t kMaxString = 4096;

  // UTF8 false: bytes from 0x80 up are single-byte characters, passed on as bytes.
  explicit SequenceParser(bool utf8) : utf8_(utf8) {}

  // Parses DATA, which arrived at NOW_MS, after deciding what timed out before it.
  void Feed(const uint8_t* data, std::size_t size, uint64_t now_ms, std::vector<Token>& out);
  // Decides a pending sequence whose time is up at NOW_MS.
  void Expire(uint64_t now_ms, std::vector<Token>& out);
  // No more input will come: decide what is pending now.
  void Finish(std::vector<Token>& out);
  // When Expire has something to decide; empty while nothing is pending.
  std::optional<uint64_t> Deadline() const;
  // While the terminal's replies are awaited, a sequence stopped half-way is the start of
  // a reply that comes in pieces: it waits for the rest, without a time limit, until this
  // is switched off again.
  void SetPatient(bool patient) { patient_ = patient; }

 private:
  enum class State : uint8_t {
    kGround,
    kEscape,     // ESC
    kEscEsc,     // ESC ESC: Alt with Esc, or Alt with a sequence
    kCsi,        // ESC [
    kLinuxFn,    // ESC [ [
    kMouse,      // ESC [ M : three raw bytes follow
    kSs3,        // ESC O
    kString,     // OSC, DCS, APC, PM, SOS
    kStringEsc,  // ESC inside a string: ESC \ ends it
    kUtf8,
  };

  void Byte(uint8_t byte, std::vector<Token>& out);
  void Ground(uint8_t byte, bool alt, std::vector<Token>& out);
  void EscapeByte(uint8_t byte, std::vector<Token>& out);
  void CsiByte(uint8_t byte, std::vector<Token>& out);
  void Ss3Byte(uint8_t byte, std::vector<Token>& out);
  void StringByte(uint8_t byte, std::vector<Token>& out);
  void Utf8Byte(uint8_t byte, std::vector<Token>& out);
  void StartUtf8(uint8_t byte, bool alt);
  void EmitCsi(uint8_t final_byte, std::vector<Token>& out);
  static void EmitByte(uint8_t byte, bool alt, std::vector<Token>& out);
  void Reset();

  bool utf8_;
  State state_ = State::kGround;
  bool alt_ = false;      // the sequence under way came behind an extra ESC
  std::string sequence_;  // its parameter and intermediate bytes, or a string's introducer
  bool overlong_ = false;
  std::size_t skipped_ = 0;
  int utf8_left_ = 0;
  int utf8_length_ = 0;
  char32_t utf8_value_ = 0;
  uint64_t last_byte_ms_ = 0;
  bool patient_ = false;
};

}  // namespace console::stream
