#include "console/stream/key_decoder.hpp"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "console/character_keys.hpp"

namespace console::stream {

KeyDecoder::KeyDecoder(const DecoderOptions& options) : options_(options), parser_(options.utf8) {}

void KeyDecoder::Feed(const uint8_t* data, std::size_t size, uint64_t now_ms,
                      std::vector<Decoded>& out) {
  parser_.Feed(data, size, now_ms, tokens_);
  Take(out);
}

void KeyDecoder::Expire(uint64_t now_ms, std::vector<Decoded>& out) {
  parser_.Expire(now_ms, tokens_);
  Take(out);
}

void KeyDecoder::Finish(std::vector<Decoded>& out) {
  parser_.Finish(tokens_);
  Take(out);
}

void KeyDecoder::Take(std::vector<Decoded>& out) {
  for (const Token& token : tokens_) TakeToken(token, out);
  tokens_.clear();
}

void KeyDecoder::TakeToken(const Token& token, std::vector<Decoded>& out) {
  std::optional<KeyEvent> key;
  bool alt = token.alt;  // an ESC before the token: left Alt
  switch (token.kind) {
    case Token::Kind::kByte:
      if (token.byte < 0x80) {
        key = ByteKey(token, ByteOptions{options_.erase, options_.lf_is_enter});
        alt = false;  // ByteKey knows what an ESC before a byte means
      } else if (const char32_t code_point = options_.charset_high[token.byte - 0x80]) {
        key = CharacterKey(code_point, 0);
      }
      break;
    case Token::Kind::kCharacter: key = CharacterKey(token.code_point, 0); break;
    case Token::Kind::kSs3: key = Ss3Key(token, options_.keypad_moves); break;
    case Token::Kind::kLinuxFunction: key = LinuxFunctionKey(token); break;
    case Token::Kind::kCsi:
      if (TakeReply(token, out)) return;
      key = CsiTokenKey(token);
      break;
  }
  if (!key) return;
  if (alt) key->control_state |= kLeftAltPressed;
  Decoded decoded;
  decoded.key = *key;
  out.push_back(decoded);
}

bool KeyDecoder::TakeReply(const Token& token, std::vector<Decoded>& out) {
  Decoded reply;
  if (token.byte == 'R' && (replies_expected_ || late_report_owed_) && token.prefix == 0 &&
      token.parameter_count == 2) {
    report_seen_ = true;
    late_report_owed_ = false;
    reply.kind = Decoded::Kind::kCursorReport;
    reply.row = token.Param(0);
    reply.column = token.Param(1);
  } else if (token.prefix == '?' && token.byte == 'u' && token.intermediates.empty()) {
    reply.kind = Decoded::Kind::kKeyboardFlags;
  } else if (token.prefix == '?' && token.byte == 'c' && token.intermediates.empty()) {
    reply.kind = Decoded::Kind::kDeviceAttributes;
  } else {
    return false;
  }
  out.push_back(reply);
  return true;
}

std::optional<KeyEvent> KeyDecoder::CsiTokenKey(const Token& token) {
  if (token.prefix != 0) return std::nullopt;  // private sequences are replies, not keys
  const bool plain = token.intermediates.empty();
  const std::size_t count = token.parameter_count;
  if (kitty_ && token.byte == 'u' && plain && count > 0)
    return kitty_keys_.Key(token, options_.cp866_high);
  // modifyOtherKeys (CSI 27;m;c ~) and CSI c;m u carry a character.
  constexpr int kModifyOtherKeys = 27;
  constexpr int kRelease = 3;
  if (plain && token.byte == '~' && token.Param(0) == kModifyOtherKeys && count == 3)
    return CharacterKey(static_cast<char32_t>(std::max(token.Param(2), 0)),
                        Modifiers(token.Param(1)));
  if (plain && token.byte == 'u' && count > 0 && token.Param(0) >= 0) {
    if (token.Sub(1, 1) == kRelease) return std::nullopt;
    return CharacterKey(static_cast<char32_t>(token.Param(0)), Modifiers(token.Param(1)));
  }
  return CsiKey(token, [this](int parameter) { return Modifiers(parameter); });
}

uint32_t KeyDecoder::Modifiers(int parameter) const {
  return kitty_ ? kitty_keys_.Modifiers(parameter) : XtermModifiers(parameter);
}

std::optional<KeyEvent> KeyDecoder::CharacterKey(char32_t code_point, uint32_t state) const {
  if (const auto control = ControlKeyOfCode(code_point, state)) return control;
  const int code = ToCp866(code_point, options_.cp866_high);
  if (code < 0) return std::nullopt;
  const char us_key = code < 0x80 ? static_cast<char>(code) : UsKeyOfCyrillic(code_point);
  const uint16_t virtual_key = code < 0x80 ? VirtualKeyOfAscii(static_cast<uint8_t>(code)) : 0;
  // Typed text says nothing of Shift but the character: a US key that needs it had it.
  if (KeyOfAscii(static_cast<uint8_t>(us_key)).shift) state |= kShiftPressed;
  return CharacterKeyEvent(static_cast<uint8_t>(code), us_key, state, virtual_key);
}

}  // namespace console::stream
