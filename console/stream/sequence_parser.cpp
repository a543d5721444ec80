#include "console/stream/sequence_parser.hpp"

#include <algorithm>

namespace console::stream {
namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kCan = 0x18;
constexpr uint8_t kSub = 0x1A;

// CSI parameter bytes: numbers separated by ';' into parameters and by ':' into
// sub-parameters, after an optional private prefix; intermediates are 0x20 to 0x2F.
void ParseParameters(const std::string& sequence, Token& token) {
  constexpr int kLargest = 1000000;
  std::size_t i = 0;
  if (!sequence.empty() && sequence[0] >= 0x3C && sequence[0] <= 0x3F) token.prefix = sequence[i++];
  std::array<int, Token::kKeptSubParameters> field;
  field.fill(-1);
  std::size_t subs = 1;
  bool any = false;
  auto end_field = [&] {
    if (token.parameter_count < Token::kKeptParameters) {
      token.parameters[token.parameter_count] = field;
      token.sub_counts[token.parameter_count] = static_cast<uint8_t>(subs);
    }
    ++token.parameter_count;
    field.fill(-1);
    subs = 1;
  };
  for (; i < sequence.size(); ++i) {
    const char c = sequence[i];
    if (c >= '0' && c <= '9') {
      int& number = field[subs - 1];
      number = std::min(std::max(number, 0) * 10 + (c - '0'), kLargest);
      any = true;
    } else if (c == ':') {
      if (subs < Token::kKeptSubParameters) ++subs;
      any = true;
    } else if (c == ';') {
      end_field();
      any = true;
    } else if (c >= 0x20 && c <= 0x2F) {
      token.intermediates.push_back(c);
    }
  }
  if (any) end_field();
}

}  // namespace

void SequenceParser::Reset() {
  state_ = State::kGround;
  alt_ = false;
  sequence_.clear();
  overlong_ = false;
  skipped_ = 0;
  utf8_left_ = 0;
}

std::optional<uint64_t> SequenceParser::Deadline() const {
  if (state_ == State::kGround) return std::nullopt;
  if (state_ == State::kUtf8) return last_byte_ms_ + kUtf8TimeoutMs;
  if (patient_) return std::nullopt;
  return last_byte_ms_ + kTimeoutMs;
}

void SequenceParser::Feed(const uint8_t* data, std::size_t size, uint64_t now_ms,
                          std::vector<Token>& out) {
  Expire(now_ms, out);
  for (std::size_t i = 0; i < size; ++i) Byte(data[i], out);
  if (size > 0) last_byte_ms_ = now_ms;
}

void SequenceParser::Expire(uint64_t now_ms, std::vector<Token>& out) {
  const auto deadline = Deadline();
  if (deadline && now_ms >= *deadline) Finish(out);
}

// A sequence cut short by silence. Only what a key press can produce alone is a key:
// ESC is Esc, ESC ESC is Alt+Esc, ESC plus an introducer is Alt with that key. Anything
// longer was a sequence broken in transit and is dropped.
void SequenceParser::Finish(std::vector<Token>& out) {
  const State state = state_;
  const bool alt = alt_;
  uint8_t introducer = 0;
  if (state == State::kCsi && sequence_.empty() && !overlong_) introducer = '[';
  if (state == State::kSs3 && sequence_.empty()) introducer = 'O';
  if (state == State::kString && skipped_ == 0) introducer = static_cast<uint8_t>(sequence_[0]);
  Reset();
  if (state == State::kEscape || state == State::kEscEsc) {
    EmitByte(kEsc, state == State::kEscEsc, out);
  } else if (introducer != 0 && alt) {
    EmitByte(kEsc, true, out);
    Ground(introducer, false, out);
  } else if (introducer != 0) {
    Ground(introducer, true, out);
  }
}

void SequenceParser::EmitByte(uint8_t byte, bool alt, std::vector<Token>& out) {
  Token token;
  token.byte = byte;
  token.alt = alt;
  out.push_back(std::move(token));
}

void SequenceParser::Byte(uint8_t byte, std::vector<Token>& out) {
  switch (state_) {
    case State::kGround: Ground(byte, false, out); break;
    case State::kEscape:
    case State::kEscEsc: EscapeByte(byte, out); break;
    case State::kCsi: CsiByte(byte, out); break;
    case State::kLinuxFn:
      Reset();
      if (byte >= 'A' && byte <= 'E') {
        Token token;
        token.kind = Token::Kind::kLinuxFunction;
        token.byte = byte;
        out.push_back(std::move(token));
      }
      break;
    case State::kMouse:
      if (++skipped_ >= 3) Reset();
      break;
    case State::kSs3: Ss3Byte(byte, out); break;
    case State::kString:
    case State::kStringEsc: StringByte(byte, out); break;
    case State::kUtf8: Utf8Byte(byte, out); break;
  }
}

void SequenceParser::Ground(uint8_t byte, bool alt, std::vector<Token>& out) {
  if (byte == kEsc) {
    state_ = State::kEscape;
  } else if (byte >= 0x80 && utf8_) {
    StartUtf8(byte, alt);
  } else {
    EmitByte(byte, alt, out);
  }
}

void SequenceParser::EscapeByte(uint8_t byte, std::vector<Token>& out) {
  const bool after_two = state_ == State::kEscEsc;
  if (byte == '[' || byte == 'O') {
    Reset();
    state_ = byte == '[' ? State::kCsi : State::kSs3;
    alt_ = after_two;
    return;
  }
  if (after_two) {
    // ESC ESC followed by anything but a sequence: Alt+Esc, then that byte afresh.
    Reset();
    EmitByte(kEsc, true, out);
    Ground(byte, false, out);
    return;
  }
  switch (byte) {
    case kEsc: state_ = State::kEscEsc; return;
    case ']':
    case 'P':
    case '_':
    case '^':
    case 'X':
      Reset();
      state_ = State::kString;
      sequence_.assign(1, static_cast<char>(byte));
      return;
    case kCan:
    case kSub: Reset(); return;
    default:
      Reset();
      Ground(byte, true, out);
      return;
  }
}

void SequenceParser::CsiByte(uint8_t byte, std::vector<Token>& out) {
  if (byte == kCan || byte == kSub) {
    Reset();
    return;
  }
  if (byte == kEsc) {
    Reset();
    state_ = State::kEscape;
    return;
  }
  if (byte < 0x20 || byte >= 0x7F) {
    // Not part of any sequence: drop what came so far, the byte is a key of its own.
    Reset();
    Ground(byte, false, out);
    return;
  }
  if (sequence_.empty() && !overlong_) {
    if (byte == '[') {
      state_ = State::kLinuxFn;
      return;
    }
    if (byte == 'M') {
      state_ = State::kMouse;
      skipped_ = 0;
      return;
    }
  }
  if (byte >= 0x40) {
    EmitCsi(byte, out);
    return;
  }
  if (byte == '$' && !sequence_.empty() &&
      sequence_.find_first_not_of("0123456789") == std::string::npos) {
    // rxvt's Shift form ends in '$' (CSI 3$), where ECMA-48 would expect more.
    EmitCsi(byte, out);
    return;
  }
  if (sequence_.size() < kMaxSequence) {
    sequence_.push_back(static_cast<char>(byte));
  } else {
    overlong_ = true;
  }
}

void SequenceParser::EmitCsi(uint8_t final_byte, std::vector<Token>& out) {
  const bool keep = !overlong_;
  Token token;
  token.kind = Token::Kind::kCsi;
  token.byte = final_byte;
  token.alt = alt_;
  ParseParameters(sequence_, token);
  Reset();
  if (keep) out.push_back(std::move(token));
}

void SequenceParser::Ss3Byte(uint8_t byte, std::vector<Token>& out) {
  // Old xterm's SS3 m X has one number, mlterm's SS3 0;m X two; none is longer.
  constexpr std::size_t kParameterBytes = 6;
  if (((byte >= '0' && byte <= '9') || byte == ';') && sequence_.size() < kParameterBytes) {
    sequence_.push_back(static_cast<char>(byte));
    return;
  }
  Token token;
  token.kind = Token::Kind::kSs3;
  token.byte = byte;
  token.alt = alt_;
  // The modifier is the last number.
  const std::string modifier = sequence_.substr(sequence_.rfind(';') + 1);
  token.modifier = modifier.empty() ? 1 : std::stoi(modifier);
  Reset();
  if (byte == kEsc) {
    state_ = State::kEscape;
  } else if (byte < 0x20) {
    Ground(byte, false, out);
  } else {
    out.push_back(std::move(token));
  }
}

void SequenceParser::StringByte(uint8_t byte, std::vector<Token>& out) {
  if (state_ == State::kStringEsc) {
    // ESC \ ends the string; ESC with anything else starts a new sequence.
    Reset();
    if (byte != '\\') {
      state_ = State::kEscape;
      EscapeByte(byte, out);
    }
    return;
  }
  ++skipped_;
  if (byte == 0x07 || byte == 0x9C) {
    Reset();  // BEL or 8-bit ST ends it
  } else if (byte == kCan || byte == kSub) {
    Reset();  // they cancel it
  } else if (byte == kEsc) {
    state_ = State::kStringEsc;
  } else if (skipped_ > kMaxString) {
    Reset();
  }
}

void SequenceParser::StartUtf8(uint8_t byte, bool alt) {
  if ((byte & 0xE0) == 0xC0) {
    utf8_left_ = 1;
    utf8_value_ = byte & 0x1F;
  } else if ((byte & 0xF0) == 0xE0) {
    utf8_left_ = 2;
    utf8_value_ = byte & 0x0F;
  } else if ((byte & 0xF8) == 0xF0) {
    utf8_left_ = 3;
    utf8_value_ = byte & 0x07;
  } else {
    return;  // a stray continuation byte or an invalid lead: nothing
  }
  utf8_length_ = utf8_left_ + 1;
  state_ = State::kUtf8;
  alt_ = alt;
}

void SequenceParser::Utf8Byte(uint8_t byte, std::vector<Token>& out) {
  if ((byte & 0xC0) != 0x80) {
    // Truncated character: drop it, the byte starts afresh.
    Reset();
    Ground(byte, false, out);
    return;
  }
  utf8_value_ = (utf8_value_ << 6) | (byte & 0x3F);
  if (--utf8_left_ > 0) return;
  // The shortest form only, and no surrogates or code points past Unicode's: anything
  // else (an overlong C0 8D is no CR) is invalid and gives nothing.
  static constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
  const bool valid = utf8_value_ >= kSmallest[utf8_length_ - 1] && utf8_value_ <= 0x10FFFF &&
                     (utf8_value_ < 0xD800 || utf8_value_ > 0xDFFF);
  if (!valid) {
    Reset();
    return;
  }
  Token token;
  token.kind = Token::Kind::kCharacter;
  token.code_point = utf8_value_;
  token.alt = alt_;
  Reset();
  out.push_back(std::move(token));
}

}  // namespace console::stream
