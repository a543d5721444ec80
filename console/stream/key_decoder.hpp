// Turns the bytes a terminal sends into the key events of a PC keyboard, and recognises
// the terminal's replies to the console's queries. A pure state machine: bytes and the
// time they arrived go in, key events and replies come out. It joins the sequence parser
// (tokens) with what the tokens mean: the terminals' own sequences (legacy_keys), the
// kitty keyboard protocol (kitty_keys) and the characters of the keyboard layout.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "console/pc_keyboard.hpp"
#include "console/stream/kitty_keys.hpp"
#include "console/stream/legacy_keys.hpp"
#include "console/stream/sequence_parser.hpp"

namespace console::stream {

struct Decoded {
  // A key event, or one of the terminal's replies: the cursor position, the keyboard
  // protocol's flags (CSI ? flags u), the device attributes (CSI ? ... c).
  enum class Kind : uint8_t {
    kKey,
    kCursorReport,
    kKeyboardFlags,
    kDeviceAttributes,
  };
  Kind kind = Kind::kKey;
  KeyEvent key;
  int row = 0;  // cursor report, 1-based
  int column = 0;
};

struct DecoderOptions {
  uint8_t erase = 127;       // the terminal's erase character: that byte is Backspace
  bool lf_is_enter = false;  // input is a byte stream whose lines end with LF
  // The keypad in application mode sends its keys with Num Lock off as SS3 p..y n (rxvt,
  // mlterm); elsewhere those are its digits.
  bool keypad_moves = false;
  bool utf8 = true;  // else single-byte input, see charset_high
  // Unicode of the code page 866 codes 0x80 to 0xFF.
  std::array<char32_t, 128> cp866_high{};
  // Unicode of the input bytes 0x80 to 0xFF when the input is single-byte (0: none).
  std::array<char32_t, 128> charset_high{};
};

class KeyDecoder {
 public:
  static constexpr uint64_t kTimeoutMs = SequenceParser::kTimeoutMs;

  explicit KeyDecoder(const DecoderOptions& options);

  // Decodes DATA, which arrived at NOW_MS; what the decoder could decide goes to OUT.
  void Feed(const uint8_t* data, std::size_t size, uint64_t now_ms, std::vector<Decoded>& out);
  // Decides a pending sequence whose time is up at NOW_MS.
  void Expire(uint64_t now_ms, std::vector<Decoded>& out);
  // No more input will come: decide what is pending now.
  void Finish(std::vector<Decoded>& out);
  // When Expire has something to decide; empty while nothing is pending.
  std::optional<uint64_t> Deadline() const { return parser_.Deadline(); }

  // While the terminal's replies to the console's queries are awaited, CSI row;col R is a
  // cursor report, never F3 with modifiers (xterm's CSI 1;m R), however many come; and a
  // reply that arrives in pieces waits for its rest. When the wait ends without a report,
  // the one still owed is taken as the report whenever it comes (a slow terminal's);
  // after that CSI 1;m R is F3 again.
  void ExpectReplies(bool expect) {
    if (!expect) late_report_owed_ = replies_expected_ && !report_seen_;
    if (expect) report_seen_ = false;
    replies_expected_ = expect;
    parser_.SetPatient(expect);
  }

  // The terminal now reports keys in the kitty keyboard protocol (the flags the console
  // pushes): presses, repeats and releases, modifier keys alone, keypad keys apart.
  void SetKittyKeyboard(bool on) { kitty_ = on; }
  bool KittyKeyboard() const { return kitty_; }
  // Modifier keys may have been let go unseen (while the program was stopped).
  void ForgetModifiers() { kitty_keys_.ForgetModifiers(); }

 private:
  void Take(std::vector<Decoded>& out);
  void TakeToken(const Token& token, std::vector<Decoded>& out);
  // A terminal's reply to a query; false when TOKEN is none.
  bool TakeReply(const Token& token, std::vector<Decoded>& out);
  std::optional<KeyEvent> CsiTokenKey(const Token& token);
  // A character key, from UTF-8, a single-byte charset, CSI u or modifyOtherKeys.
  std::optional<KeyEvent> CharacterKey(char32_t code_point, uint32_t state) const;
  uint32_t Modifiers(int parameter) const;

  DecoderOptions options_;
  SequenceParser parser_;
  KittyKeys kitty_keys_;
  std::vector<Token> tokens_;
  bool replies_expected_ = false;
  bool report_seen_ = false;       // a cursor report came while replies were expected
  bool late_report_owed_ = false;  // the wait ended before the report came
  bool kitty_ = false;
};

}  // namespace console::stream
