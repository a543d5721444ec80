// Accepted input, by terminal family. Notation: ESC = 0x1B, CSI = ESC [, SS3 = ESC O,
// m = 1 + modifier bits (Shift 1, Alt 2, Ctrl 4, Meta 8), n = a number.
//
// Every family
//   bytes 32-126                 the character, with its US-layout scan code
//   CR (13), Tab (9)             Enter, Tab
//   the erase character          Backspace (character 8), whichever of 8 and 127 it is
//   1-26, 0, 28-31               Ctrl with a letter, @, \, ], ^, _
//   LF (10)                      Ctrl+J; Enter when the input is a byte stream
//   ESC, then nothing for 40 ms  Esc
//   ESC followed by a key        that key with left Alt ("meta sends escape")
//   UTF-8 (or the locale's single-byte charset)  the character in code page 866
// xterm, VTE, kitty (legacy), alacritty, foot, Windows Terminal, tmux, screen
//   CSI A B C D H F E            Up Down Right Left Home End keypad-5
//   CSI 1;m A..F, CSI m A..F     the same with modifiers (also SS3 m A: old xterm)
//   SS3 A B C D H F E            the same in application cursor mode
//   SS3 P Q R S, CSI 1;m P..S    F1-F4 (CSI 13;m ~ for F3 from kitty, foot, ghostty)
//   CSI n ~, CSI n;m ~           1 Home 2 Ins 3 Del 4 End 5 PgUp 6 PgDn,
//                                11-15 F1-F5, 17-21 F6-F10, 23 F11, 24 F12
//   CSI Z                        Shift+Tab
//   SS3 M j k m o, SS3 p..y n    keypad Enter * + - /, keypad 0-9 and .
//   CSI 27;m;c ~, CSI c;m u      a character key with modifiers (modifyOtherKeys, CSI u)
// rxvt
//   CSI 7~ CSI 8~                Home End
//   CSI n$  CSI n^  CSI n@       the tilde keys with Shift, Ctrl, Ctrl+Shift
//   CSI a..d, SS3 a..d           Shift+arrows, Ctrl+arrows
// Linux console
//   CSI [ A..E                   F1-F5
//   CSI G                        keypad 5
//   ESC Tab                      Shift+Tab
//   SS3 l                        keypad +
// Not keys, skipped whole: other CSI sequences (replies, focus CSI I/O, paste markers
// CSI 200~/201~, SGR mouse CSI <...M/m), CSI M with three raw bytes (X10 mouse), OSC,
// DCS, APC, PM and SOS strings up to their terminator. CSI row;col R is the cursor
// report while one is expected.
#include "console/terminal/input/key_decoder.hpp"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace console::terminal {
namespace {

enum : uint16_t {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_CLEAR = 12,
  VK_RETURN = 13,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_PRIOR = 33,
  VK_NEXT = 34,
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_INSERT = 45,
  VK_DELETE = 46,
  VK_NUMPAD0 = 96,
  VK_MULTIPLY = 106,
  VK_ADD = 107,
  VK_SUBTRACT = 109,
  VK_DECIMAL = 110,
  VK_DIVIDE = 111,
  VK_F1 = 112,
};

struct NamedKey {
  uint16_t scan;
  uint16_t virtual_key;
  bool enhanced;  // one of the grey keys
  uint8_t character = 0;
};

constexpr NamedKey kUp{72, VK_UP, true}, kDown{80, VK_DOWN, true}, kRight{77, VK_RIGHT, true},
    kLeft{75, VK_LEFT, true}, kHome{71, VK_HOME, true}, kEnd{79, VK_END, true},
    kInsert{82, VK_INSERT, true}, kDelete{83, VK_DELETE, true}, kPageUp{73, VK_PRIOR, true},
    kPageDown{81, VK_NEXT, true}, kKeypad5{76, VK_CLEAR, false};

constexpr NamedKey FunctionKey(int n) {  // F1 to F12
  return NamedKey{static_cast<uint16_t>(n <= 10 ? 58 + n : 76 + n),
                  static_cast<uint16_t>(VK_F1 + n - 1), false};
}

// Final letters shared by CSI and SS3 forms.
const NamedKey* LetterKey(uint8_t final_byte) {
  static constexpr NamedKey kF1 = FunctionKey(1), kF2 = FunctionKey(2), kF3 = FunctionKey(3),
                            kF4 = FunctionKey(4);
  switch (final_byte) {
    case 'A':
      return &kUp;
    case 'B':
      return &kDown;
    case 'C':
      return &kRight;
    case 'D':
      return &kLeft;
    case 'H':
      return &kHome;
    case 'F':
      return &kEnd;
    case 'E':
      return &kKeypad5;
    case 'P':
      return &kF1;
    case 'Q':
      return &kF2;
    case 'R':
      return &kF3;
    case 'S':
      return &kF4;
    default:
      return nullptr;
  }
}

// CSI n ~ (and rxvt's n$, n^, n@).
const NamedKey* TildeKey(int n) {
  static constexpr NamedKey kF[13] = {{},
                                      FunctionKey(1),
                                      FunctionKey(2),
                                      FunctionKey(3),
                                      FunctionKey(4),
                                      FunctionKey(5),
                                      FunctionKey(6),
                                      FunctionKey(7),
                                      FunctionKey(8),
                                      FunctionKey(9),
                                      FunctionKey(10),
                                      FunctionKey(11),
                                      FunctionKey(12)};
  switch (n) {
    case 1:
    case 7:
      return &kHome;
    case 2:
      return &kInsert;
    case 3:
      return &kDelete;
    case 4:
    case 8:
      return &kEnd;
    case 5:
      return &kPageUp;
    case 6:
      return &kPageDown;
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
      return &kF[n - 10];
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
      return &kF[n - 11];
    case 23:
    case 24:
      return &kF[n - 12];
    default:
      return nullptr;
  }
}

// SS3 keys of the application keypad.
const NamedKey* KeypadKey(uint8_t final_byte) {
  static constexpr NamedKey kEnter{28, VK_RETURN, true, 13}, kStar{55, VK_MULTIPLY, false, '*'},
      kPlus{78, VK_ADD, false, '+'}, kMinus{74, VK_SUBTRACT, false, '-'},
      kSlash{53, VK_DIVIDE, true, '/'}, kPoint{83, VK_DECIMAL, false, '.'};
  // Keypad 0 to 9 sit on the scan codes of Ins, End, Down, PgDn, Left, 5, Right, Home,
  // Up, PgUp.
  static constexpr uint16_t kDigitScan[10] = {82, 79, 80, 81, 75, 76, 77, 71, 72, 73};
  static NamedKey digits[10];
  switch (final_byte) {
    case 'M':
      return &kEnter;
    case 'j':
      return &kStar;
    case 'k':
    case 'l':
      return &kPlus;
    case 'm':
      return &kMinus;
    case 'o':
      return &kSlash;
    case 'n':
      return &kPoint;
    default:
      break;
  }
  if (final_byte >= 'p' && final_byte <= 'y') {
    const int d = final_byte - 'p';
    digits[d] = NamedKey{kDigitScan[d], static_cast<uint16_t>(VK_NUMPAD0 + d), false,
                         static_cast<uint8_t>('0' + d)};
    return &digits[d];
  }
  return nullptr;
}

// The US-layout key of each printable ASCII character: scan code and whether Shift is
// needed.
struct AsciiKey {
  uint8_t scan = 0;
  bool shift = false;
};

const std::array<AsciiKey, 128>& AsciiKeys() {
  static const std::array<AsciiKey, 128> table = [] {
    // Each row: scan code, then the character without and with Shift.
    static constexpr struct {
      uint8_t scan;
      char plain, shifted;
    } kRows[] = {
        {2, '1', '!'},  {3, '2', '@'},   {4, '3', '#'},  {5, '4', '$'},  {6, '5', '%'},
        {7, '6', '^'},  {8, '7', '&'},   {9, '8', '*'},  {10, '9', '('}, {11, '0', ')'},
        {12, '-', '_'}, {13, '=', '+'},  {16, 'q', 'Q'}, {17, 'w', 'W'}, {18, 'e', 'E'},
        {19, 'r', 'R'}, {20, 't', 'T'},  {21, 'y', 'Y'}, {22, 'u', 'U'}, {23, 'i', 'I'},
        {24, 'o', 'O'}, {25, 'p', 'P'},  {26, '[', '{'}, {27, ']', '}'}, {30, 'a', 'A'},
        {31, 's', 'S'}, {32, 'd', 'D'},  {33, 'f', 'F'}, {34, 'g', 'G'}, {35, 'h', 'H'},
        {36, 'j', 'J'}, {37, 'k', 'K'},  {38, 'l', 'L'}, {39, ';', ':'}, {40, '\'', '"'},
        {41, '`', '~'}, {43, '\\', '|'}, {44, 'z', 'Z'}, {45, 'x', 'X'}, {46, 'c', 'C'},
        {47, 'v', 'V'}, {48, 'b', 'B'},  {49, 'n', 'N'}, {50, 'm', 'M'}, {51, ',', '<'},
        {52, '.', '>'}, {53, '/', '?'},  {57, ' ', ' '},
    };
    std::array<AsciiKey, 128> keys{};
    for (const auto& row : kRows) {
      keys[static_cast<uint8_t>(row.shifted)] = AsciiKey{row.scan, true};
      keys[static_cast<uint8_t>(row.plain)] = AsciiKey{row.scan, false};
    }
    return keys;
  }();
  return table;
}

// Where the Russian (ЙЦУКЕН) layout puts each Cyrillic letter, as the US character on
// the same key: a Cyrillic letter gets that key's scan code.
char UsKeyOfCyrillic(char32_t code_point) {
  static constexpr char32_t kLower[] = U"йцукенгшщзхъфывапролджэячсмитьбюё";
  static constexpr char32_t kUpper[] = U"ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮЁ";
  static constexpr char kKeys[] = "qwertyuiop[]asdfghjkl;'zxcvbnm,.`";
  for (std::size_t i = 0; i + 1 < sizeof kKeys; ++i)
    if (kLower[i] == code_point || kUpper[i] == code_point) return kKeys[i];
  return 0;
}

// Ctrl turns a letter, [, \ and ] into their control characters, as terminals do.
uint8_t ControlCharacter(uint8_t ch) {
  const uint8_t lower = static_cast<uint8_t>(ch | 0x20);
  if (lower >= 'a' && lower <= 'z') return static_cast<uint8_t>(lower - 'a' + 1);
  if (ch >= '[' && ch <= ']') return static_cast<uint8_t>(ch - '@');
  return ch;
}

uint16_t VirtualKeyOfAscii(uint8_t ch) {
  if (ch >= 'a' && ch <= 'z') return static_cast<uint16_t>(ch - 'a' + 'A');
  if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == ' ') return ch;
  return 0;
}

KeyEvent MakeKey(uint16_t scan, uint8_t character, uint32_t state, uint16_t virtual_key) {
  KeyEvent key;
  key.scan_code = scan;
  key.character = character;
  key.control_state = state;
  key.virtual_key = virtual_key;
  return key;
}

KeyEvent NamedKeyEvent(const NamedKey& named, uint32_t state) {
  if (named.enhanced) state |= kEnhancedKey;
  if (named.character >= '0' && named.character <= '9') state |= kNumLockOn;
  return MakeKey(named.scan, named.character, state, named.virtual_key);
}

// xterm's modifier parameter: 1 + bits for Shift 1, Alt 2, Ctrl 4, Meta 8.
uint32_t ModifierState(int parameter) {
  if (parameter < 2) return 0;
  const int bits = parameter - 1;
  uint32_t state = 0;
  if (bits & 1) state |= kShiftPressed;
  if (bits & (2 | 8)) state |= kLeftAltPressed;
  if (bits & 4) state |= kLeftCtrlPressed;
  return state;
}

struct Parameters {
  char prefix = 0;              // '<', '=', '>' or '?' for private sequences
  std::vector<int> values;      // -1 where a parameter was left out
  std::vector<int> event_type;  // the second sub-parameter, -1 where none
  // Every parameter with its sub-parameters (separated by ':'), -1 where left out.
  std::vector<std::vector<int>> fields;
  std::string intermediates;
};

Parameters ParseParameters(const std::string& sequence) {
  Parameters p;
  std::size_t i = 0;
  if (!sequence.empty() && sequence[0] >= 0x3C && sequence[0] <= 0x3F) p.prefix = sequence[i++];
  std::vector<int> field{-1};
  bool any = false;
  auto end_field = [&p, &field] {
    p.values.push_back(field[0]);
    p.event_type.push_back(field.size() > 1 ? field[1] : -1);
    p.fields.push_back(field);
    field.assign(1, -1);
  };
  for (; i < sequence.size(); ++i) {
    const char c = sequence[i];
    if (c >= '0' && c <= '9') {
      int& target = field.back();
      target = std::min((target < 0 ? 0 : target) * 10 + (c - '0'), 1000000);
      any = true;
    } else if (c == ':') {
      if (field.size() < 8) field.push_back(-1);
      any = true;
    } else if (c == ';') {
      end_field();
      any = true;
    } else if (c >= 0x20 && c <= 0x2F) {
      p.intermediates.push_back(c);
    }
  }
  if (any) end_field();
  return p;
}

}  // namespace

KeyDecoder::KeyDecoder(const DecoderOptions& options) : options_(options) {}

int KeyDecoder::ToCp866(char32_t code_point) const {
  if (code_point < 0x80) return static_cast<int>(code_point);
  for (int i = 0; i < 128; ++i)
    if (options_.cp866_high[static_cast<std::size_t>(i)] == code_point) return 0x80 + i;
  return -1;
}

void KeyDecoder::Reset() {
  state_ = State::kGround;
  alt_ = false;
  sequence_.clear();
  overlong_ = false;
  skipped_ = 0;
  utf8_left_ = 0;
}

std::optional<uint64_t> KeyDecoder::Deadline() const {
  if (state_ == State::kGround) return std::nullopt;
  return last_byte_ms_ + kTimeoutMs;
}

void KeyDecoder::Feed(const uint8_t* data, std::size_t size, uint64_t now_ms,
                      std::vector<Decoded>& out) {
  Expire(now_ms, out);
  for (std::size_t i = 0; i < size; ++i) Byte(data[i], out);
  if (size > 0) last_byte_ms_ = now_ms;
}

void KeyDecoder::Expire(uint64_t now_ms, std::vector<Decoded>& out) {
  const auto deadline = Deadline();
  if (deadline && now_ms >= *deadline) Finish(out);
}

// A sequence cut short by silence. Only what a key press can produce alone is a key:
// ESC is Esc, ESC ESC is Alt+Esc, ESC plus an introducer is Alt with that key. Anything
// longer was a sequence broken in transit and is dropped.
void KeyDecoder::Finish(std::vector<Decoded>& out) {
  const State state = state_;
  const bool alt = alt_;
  uint8_t introducer = 0;
  if (state == State::kCsi && sequence_.empty() && !overlong_) introducer = '[';
  if (state == State::kSs3 && sequence_.empty()) introducer = 'O';
  if (state == State::kString && skipped_ == 0) introducer = static_cast<uint8_t>(sequence_[0]);
  Reset();
  if (state == State::kEscape) {
    Emit(MakeKey(1, 27, 0, VK_ESCAPE), out);
  } else if (state == State::kEscEsc) {
    Emit(MakeKey(1, 27, kLeftAltPressed, VK_ESCAPE), out);
  } else if (introducer != 0 && alt) {
    Emit(MakeKey(1, 27, kLeftAltPressed, VK_ESCAPE), out);
    Ground(introducer, out);
  } else if (introducer != 0) {
    alt_ = true;
    Ground(introducer, out);
    alt_ = false;
  }
}

void KeyDecoder::Emit(KeyEvent key, std::vector<Decoded>& out) {
  if (alt_) key.control_state |= kLeftAltPressed;
  Decoded decoded;
  decoded.key = key;
  out.push_back(decoded);
}

void KeyDecoder::Byte(uint8_t byte, std::vector<Decoded>& out) {
  switch (state_) {
    case State::kGround:
      Ground(byte, out);
      break;
    case State::kEscape:
    case State::kEscEsc:
      EscapeByte(byte, out);
      break;
    case State::kCsi:
      CsiByte(byte, out);
      break;
    case State::kLinuxFn:
      Reset();
      if (byte >= 'A' && byte <= 'E') Emit(NamedKeyEvent(FunctionKey(byte - 'A' + 1), 0), out);
      break;
    case State::kMouse:
      if (++skipped_ >= 3) Reset();
      break;
    case State::kSs3:
      Ss3Byte(byte, out);
      break;
    case State::kString:
      ++skipped_;
      if (byte == 0x07 || byte == 0x9C)
        Reset();  // BEL or 8-bit ST ends it
      else if (byte == 0x18 || byte == 0x1A)
        Reset();  // CAN, SUB cancel
      else if (byte == 0x1B)
        state_ = State::kStringEsc;
      else if (skipped_ > kMaxString)
        Reset();
      break;
    case State::kStringEsc:
      if (byte == '\\') {
        Reset();
      } else {
        // ESC inside a string starts a new sequence.
        Reset();
        state_ = State::kEscape;
        EscapeByte(byte, out);
      }
      break;
    case State::kUtf8:
      Utf8Byte(byte, out);
      break;
  }
}

void KeyDecoder::Ground(uint8_t byte, std::vector<Decoded>& out) {
  if (byte == 0x1B) {
    state_ = State::kEscape;
    return;
  }
  if (byte >= 0x80) {
    if (options_.utf8) {
      StartUtf8(byte, false, out);
    } else {
      const char32_t code_point = options_.charset_high[byte - 0x80];
      if (code_point != 0) EmitCodePoint(code_point, 0, out);
    }
    return;
  }
  const auto& ascii = AsciiKeys();
  if (byte == options_.erase && (byte == 8 || byte == 127)) {
    Emit(MakeKey(14, 8, 0, VK_BACK), out);
  } else if (byte == 13) {
    Emit(MakeKey(28, 13, 0, VK_RETURN), out);
  } else if (byte == 10) {
    Emit(options_.lf_is_enter ? MakeKey(28, 13, 0, VK_RETURN)
                              : MakeKey(36, 10, kLeftCtrlPressed, 'J'),
         out);
  } else if (byte == 9) {
    Emit(MakeKey(15, 9, 0, VK_TAB), out);
  } else if (byte == 127) {
    Emit(MakeKey(14, 127, kLeftCtrlPressed, VK_BACK), out);
  } else if (byte == 0) {
    Emit(MakeKey(3, 0, kLeftCtrlPressed, '2'), out);
  } else if (byte <= 26) {
    const uint8_t letter = static_cast<uint8_t>('a' + byte - 1);
    Emit(MakeKey(ascii[letter].scan, byte, kLeftCtrlPressed, VirtualKeyOfAscii(letter)), out);
  } else if (byte < 32) {
    // Ctrl with \ ] ^ _
    static constexpr uint8_t kScan[4] = {43, 27, 7, 12};
    const uint32_t shift = byte >= 30 ? kShiftPressed : 0;
    Emit(MakeKey(kScan[byte - 28], byte, kLeftCtrlPressed | shift, 0), out);
  } else {
    const AsciiKey key = ascii[byte];
    Emit(MakeKey(key.scan, byte, key.shift ? kShiftPressed : 0, VirtualKeyOfAscii(byte)), out);
  }
}

void KeyDecoder::EscapeByte(uint8_t byte, std::vector<Decoded>& out) {
  const bool after_two = state_ == State::kEscEsc;
  switch (byte) {
    case '[':
      state_ = State::kCsi;
      alt_ = after_two;
      sequence_.clear();
      return;
    case 'O':
      state_ = State::kSs3;
      alt_ = after_two;
      sequence_.clear();
      return;
    default:
      break;
  }
  if (after_two) {
    // ESC ESC followed by anything but a sequence: Alt+Esc, then that byte afresh.
    Reset();
    Emit(MakeKey(1, 27, kLeftAltPressed, VK_ESCAPE), out);
    Ground(byte, out);
    return;
  }
  switch (byte) {
    case 0x1B:
      state_ = State::kEscEsc;
      return;
    case ']':
    case 'P':
    case '_':
    case '^':
    case 'X':
      state_ = State::kString;
      skipped_ = 0;
      sequence_.assign(1, static_cast<char>(byte));
      return;
    case 0x18:
    case 0x1A:  // CAN, SUB
      Reset();
      return;
    case 9:  // the Linux console's Shift+Tab
      Reset();
      Emit(MakeKey(15, 9, kShiftPressed, VK_TAB), out);
      return;
    default:
      break;
  }
  Reset();
  if (byte >= 0x80 && options_.utf8) {
    StartUtf8(byte, true, out);
    return;
  }
  alt_ = true;
  Ground(byte, out);
  alt_ = false;
}

void KeyDecoder::CsiByte(uint8_t byte, std::vector<Decoded>& out) {
  if (byte == 0x18 || byte == 0x1A) {
    Reset();
    return;
  }
  if (byte == 0x1B) {
    Reset();
    state_ = State::kEscape;
    return;
  }
  if (byte < 0x20 || byte >= 0x7F) {
    // Not part of any sequence: drop what came so far, the byte is a key of its own.
    Reset();
    Ground(byte, out);
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
    DispatchCsi(byte, out);
    return;
  }
  if (byte == '$' && !sequence_.empty() &&
      sequence_.find_first_not_of("0123456789") == std::string::npos) {
    // rxvt's Shift form ends in '$' (CSI 3$), where ECMA-48 would expect more.
    DispatchCsi(byte, out);
    return;
  }
  if (sequence_.size() < kMaxSequence) {
    sequence_.push_back(static_cast<char>(byte));
  } else {
    overlong_ = true;
  }
}

void KeyDecoder::DispatchCsi(uint8_t final_byte, std::vector<Decoded>& out) {
  const bool overlong = overlong_;
  const Parameters p = ParseParameters(sequence_);
  const bool alt = alt_;
  Reset();
  if (overlong) return;
  alt_ = alt;
  auto at = [&p](std::size_t i) { return i < p.values.size() ? p.values[i] : -1; };
  auto event_kind = [&p](std::size_t i) { return i < p.event_type.size() ? p.event_type[i] : -1; };
  auto emit = [&](const NamedKey& named, int modifier_parameter, int event) {
    KeyEvent key = NamedKeyEvent(named, Modifiers(modifier_parameter));
    key.key_down = event != 3;
    Emit(key, out);
  };
  const bool plain = p.prefix == 0;
  const bool no_intermediates = p.intermediates.empty();

  if (final_byte == 'R' && cursor_report_expected_ && plain && p.values.size() == 2) {
    cursor_report_expected_ = false;
    Decoded report;
    report.kind = Decoded::Kind::kCursorReport;
    report.row = at(0);
    report.column = at(1);
    out.push_back(report);
    alt_ = false;
    return;
  }
  if (p.prefix == '?' && (final_byte == 'u' || final_byte == 'c') && no_intermediates) {
    // The keyboard protocol's flags, or the device attributes.
    Decoded reply;
    reply.kind =
        final_byte == 'u' ? Decoded::Kind::kKeyboardFlags : Decoded::Kind::kDeviceAttributes;
    reply.value = std::max(at(0), 0);
    out.push_back(reply);
    alt_ = false;
    return;
  }
  if (!plain) {
    alt_ = false;
    return;
  }
  if (kitty_ && final_byte == 'u' && no_intermediates && !p.fields.empty()) {
    KittyKey(p.fields, out);
    alt_ = false;
    return;
  }
  if (final_byte == '$' || final_byte == '^' || final_byte == '@') {
    const NamedKey* named = TildeKey(at(0));
    const int modifier = final_byte == '$' ? 2 : final_byte == '^' ? 5 : 6;
    if (named != nullptr && p.values.size() == 1) emit(*named, modifier, -1);
  } else if (!no_intermediates) {
    // Nothing a key sends.
  } else if (const NamedKey* named = LetterKey(final_byte); named != nullptr) {
    // CSI X, CSI 1;m X, and the older CSI m X.
    if (p.values.empty() || (p.values.size() == 1 && at(0) == 1)) {
      emit(*named, 1, -1);
    } else if (p.values.size() == 1 && at(0) >= 2 && final_byte != 'R') {
      emit(*named, at(0), -1);
    } else if (p.values.size() == 2 && at(0) <= 1) {
      emit(*named, at(1), event_kind(1));
    }
  } else if (final_byte == '~') {
    if (at(0) == 27 && p.values.size() == 3) {
      EmitCodePoint(static_cast<char32_t>(std::max(at(2), 0)), Modifiers(at(1)), out);
    } else if (const NamedKey* tilde = TildeKey(at(0)); tilde != nullptr && p.values.size() <= 2) {
      emit(*tilde, at(1), event_kind(1));
    }
  } else if (final_byte == 'u' && !p.values.empty() && at(0) >= 0) {
    if (event_kind(1) != 3) EmitCodePoint(static_cast<char32_t>(at(0)), Modifiers(at(1)), out);
  } else if (final_byte == 'Z') {
    Emit(MakeKey(15, 9, kShiftPressed | Modifiers(at(1)), VK_TAB), out);
  } else if (final_byte >= 'a' && final_byte <= 'd' && p.values.empty()) {
    static constexpr const NamedKey* kArrows[4] = {&kUp, &kDown, &kRight, &kLeft};
    emit(*kArrows[final_byte - 'a'], 2, -1);
  } else if (final_byte == 'G' && p.values.empty()) {
    emit(kKeypad5, 1, -1);
  }
  alt_ = false;
}

void KeyDecoder::Ss3Byte(uint8_t byte, std::vector<Decoded>& out) {
  if (byte >= '0' && byte <= '9' && sequence_.size() < 2) {
    sequence_.push_back(static_cast<char>(byte));
    return;
  }
  const int modifier = sequence_.empty() ? 1 : std::stoi(sequence_);
  const bool alt = alt_;
  Reset();
  alt_ = alt;
  if (const NamedKey* named = LetterKey(byte); named != nullptr) {
    Emit(NamedKeyEvent(*named, ModifierState(modifier)), out);
  } else if (const NamedKey* keypad = KeypadKey(byte); keypad != nullptr) {
    Emit(NamedKeyEvent(*keypad, ModifierState(modifier)), out);
  } else if (byte >= 'a' && byte <= 'd') {
    static constexpr const NamedKey* kArrows[4] = {&kUp, &kDown, &kRight, &kLeft};
    Emit(NamedKeyEvent(*kArrows[byte - 'a'], kLeftCtrlPressed), out);
  } else if (byte == 0x1B) {
    alt_ = false;
    state_ = State::kEscape;
  } else if (byte < 0x20) {
    alt_ = false;
    Ground(byte, out);
  }
  alt_ = false;
}

void KeyDecoder::StartUtf8(uint8_t byte, bool alt, std::vector<Decoded>& out) {
  int left = 0;
  char32_t value = 0;
  if ((byte & 0xE0) == 0xC0) {
    left = 1;
    value = byte & 0x1F;
  } else if ((byte & 0xF0) == 0xE0) {
    left = 2;
    value = byte & 0x0F;
  } else if ((byte & 0xF8) == 0xF0) {
    left = 3;
    value = byte & 0x07;
  } else {
    (void)out;  // a stray continuation byte or an invalid lead: no key
    return;
  }
  state_ = State::kUtf8;
  alt_ = alt;
  utf8_left_ = left;
  utf8_value_ = value;
}

void KeyDecoder::Utf8Byte(uint8_t byte, std::vector<Decoded>& out) {
  if ((byte & 0xC0) != 0x80) {
    // Truncated character: drop it, the byte starts afresh.
    Reset();
    Ground(byte, out);
    return;
  }
  utf8_value_ = (utf8_value_ << 6) | (byte & 0x3F);
  if (--utf8_left_ > 0) return;
  const char32_t code_point = utf8_value_;
  const uint32_t state = alt_ ? kLeftAltPressed : 0;
  Reset();
  EmitCodePoint(code_point, state, out);
}

// A character key, from UTF-8, CSI u or modifyOtherKeys. Characters that code page 866
// lacks give no key.
void KeyDecoder::EmitCodePoint(char32_t code_point, uint32_t state, std::vector<Decoded>& out) {
  switch (code_point) {
    case 27:
      Emit(MakeKey(1, 27, state, VK_ESCAPE), out);
      return;
    case 13:
      Emit(MakeKey(28, 13, state, VK_RETURN), out);
      return;
    case 9:
      Emit(MakeKey(15, 9, state, VK_TAB), out);
      return;
    case 127:
    case 8:
      Emit(MakeKey(14, 8, state, VK_BACK), out);
      return;
    default:
      break;
  }
  const int code = ToCp866(code_point);
  if (code < 0) return;
  uint8_t character = static_cast<uint8_t>(code);
  const auto& ascii = AsciiKeys();
  char us_key = code < 0x80 ? static_cast<char>(code) : UsKeyOfCyrillic(code_point);
  AsciiKey position = ascii[static_cast<uint8_t>(us_key) & 0x7F];
  if (code < 0x80 && (state & (kLeftCtrlPressed | kRightCtrlPressed)) != 0)
    character = ControlCharacter(character);
  if (position.shift) state |= kShiftPressed;
  Emit(MakeKey(position.scan, character, state,
               code < 0x80 ? VirtualKeyOfAscii(static_cast<uint8_t>(code)) : 0),
       out);
}

// ---- The kitty keyboard protocol ------------------------------------------------------
//
// With the flags the console pushes (disambiguate, event types, alternate keys, all keys
// as escape codes, associated text) every key arrives as
//   CSI code[:shifted[:base]] ; mods[:type] ; text u
// or in its legacy shape with the added fields (CSI 1;mods:type A, CSI n;mods:type ~).
// type is 1 press, 2 repeat, 3 release; mods - 1 has Shift 1, Alt 2, Ctrl 4, Super 8,
// Hyper 16, Meta 32, Caps Lock 64, Num Lock 128. Modifier keys arrive as keys of their
// own, which tells left from right.

namespace {

enum : uint8_t {
  kHeldLeftAlt = 1,
  kHeldRightAlt = 2,
  kHeldLeftCtrl = 4,
  kHeldRightCtrl = 8,
};

struct ModifierKey {
  int code;
  uint16_t virtual_key;
  uint16_t scan;
  bool enhanced;
  uint8_t held;  // which of the held flags it sets
};

const ModifierKey* KittyModifierKey(int code) {
  static constexpr ModifierKey kKeys[] = {
      {57441, 16, 42, false, 0},              // left Shift
      {57447, 16, 54, false, 0},              // right Shift
      {57442, 17, 29, false, kHeldLeftCtrl},  // left Ctrl
      {57448, 17, 29, true, kHeldRightCtrl},  // right Ctrl
      {57443, 18, 56, false, kHeldLeftAlt},   // left Alt
      {57449, 18, 56, true, kHeldRightAlt},   // right Alt
      {57453, 18, 56, true, kHeldRightAlt},   // AltGr (ISO level 3 shift)
      {57358, 20, 58, false, 0},              // Caps Lock
      {57359, 145, 70, false, 0},             // Scroll Lock
      {57360, 144, 69, false, 0},             // Num Lock
  };
  for (const ModifierKey& key : kKeys)
    if (key.code == code) return &key;
  return nullptr;
}

// Keypad keys, 57399 to 57427: 0-9 . / * - + Enter = , then Left Right Up Down PgUp PgDn
// Home End Ins Del and Begin (5 without Num Lock). Scan 0: no key of the PC keypad.
const NamedKey* KittyKeypadKey(int code) {
  static constexpr NamedKey kKeys[] = {
      {82, VK_NUMPAD0 + 0, false, '0'},
      {79, VK_NUMPAD0 + 1, false, '1'},
      {80, VK_NUMPAD0 + 2, false, '2'},
      {81, VK_NUMPAD0 + 3, false, '3'},
      {75, VK_NUMPAD0 + 4, false, '4'},
      {76, VK_NUMPAD0 + 5, false, '5'},
      {77, VK_NUMPAD0 + 6, false, '6'},
      {71, VK_NUMPAD0 + 7, false, '7'},
      {72, VK_NUMPAD0 + 8, false, '8'},
      {73, VK_NUMPAD0 + 9, false, '9'},
      {83, VK_DECIMAL, false, '.'},
      {53, VK_DIVIDE, true, '/'},
      {55, VK_MULTIPLY, false, '*'},
      {74, VK_SUBTRACT, false, '-'},
      {78, VK_ADD, false, '+'},
      {28, VK_RETURN, true, 13},
      {0, 0, false, 0},
      {0, 0, false, 0},
      {75, VK_LEFT, false},
      {77, VK_RIGHT, false},
      {72, VK_UP, false},
      {80, VK_DOWN, false},
      {73, VK_PRIOR, false},
      {81, VK_NEXT, false},
      {71, VK_HOME, false},
      {79, VK_END, false},
      {82, VK_INSERT, false},
      {83, VK_DELETE, false},
      {76, VK_CLEAR, false},
  };
  constexpr int kFirst = 57399;
  if (code < kFirst || code >= kFirst + static_cast<int>(std::size(kKeys))) return nullptr;
  const NamedKey& key = kKeys[code - kFirst];
  return key.scan == 0 ? nullptr : &key;
}

// The protocol's own codes for keys that have no Unicode character.
bool KittyFunctionalKey(int code) {
  return code >= 57344 && code <= 63743;
}

}  // namespace

uint32_t KeyDecoder::HeldState() const {
  uint32_t state = 0;
  if (held_ & kHeldLeftAlt) state |= kLeftAltPressed;
  if (held_ & kHeldRightAlt) state |= kRightAltPressed;
  if (held_ & kHeldLeftCtrl) state |= kLeftCtrlPressed;
  if (held_ & kHeldRightCtrl) state |= kRightCtrlPressed;
  return state;
}

uint32_t KeyDecoder::Modifiers(int parameter) const {
  if (!kitty_) return ModifierState(parameter);
  const int bits = parameter >= 1 ? parameter - 1 : 0;
  const uint32_t held = HeldState();
  uint32_t state = 0;
  if (bits & 1) state |= kShiftPressed;
  // Which Alt and which Ctrl, from their own key events; the left one when unknown.
  if (bits & 2) {
    const uint32_t alt = held & (kLeftAltPressed | kRightAltPressed);
    state |= alt != 0 ? alt : kLeftAltPressed;
  } else {
    state |= held & kRightAltPressed;  // AltGr reports no Alt of its own
  }
  if (bits & 4) {
    const uint32_t ctrl = held & (kLeftCtrlPressed | kRightCtrlPressed);
    state |= ctrl != 0 ? ctrl : kLeftCtrlPressed;
  }
  if (bits & 64) state |= kCapsLockOn;
  if (bits & 128) state |= kNumLockOn;
  return state;
}

void KeyDecoder::KittyKey(const std::vector<std::vector<int>>& fields, std::vector<Decoded>& out) {
  auto field = [&fields](std::size_t i, std::size_t sub) {
    return i < fields.size() && sub < fields[i].size() ? fields[i][sub] : -1;
  };
  const int code = field(0, 0);
  const int shifted = field(0, 1);
  const int base = field(0, 2);
  const int mods = field(1, 0);
  const bool down = field(1, 1) != 3;
  const int text = field(2, 0);
  if (code < 0) return;

  KeyEvent key;
  if (const ModifierKey* modifier = KittyModifierKey(code); modifier != nullptr) {
    if (down) {
      held_ = static_cast<uint8_t>(held_ | modifier->held);
    } else {
      held_ = static_cast<uint8_t>(held_ & ~modifier->held);
    }
    const uint32_t state = (Modifiers(mods) & (kShiftPressed | kCapsLockOn | kNumLockOn)) |
                           HeldState() | (modifier->enhanced ? kEnhancedKey : 0);
    key = MakeKey(modifier->scan, 0, state, modifier->virtual_key);
  } else if (const NamedKey* keypad = KittyKeypadKey(code); keypad != nullptr) {
    key = MakeKey(keypad->scan, keypad->character,
                  Modifiers(mods) | (keypad->enhanced ? kEnhancedKey : 0), keypad->virtual_key);
  } else if (KittyFunctionalKey(code)) {
    return;  // F13 and beyond, media keys and the like: none of the PC keyboard's
  } else {
    const uint32_t state = Modifiers(mods);
    switch (code) {
      case 27:
        key = MakeKey(1, 27, state, VK_ESCAPE);
        break;
      case 13:
        key = MakeKey(28, 13, state, VK_RETURN);
        break;
      case 9:
        key = MakeKey(15, 9, state, VK_TAB);
        break;
      case 8:
      case 127:
        key = MakeKey(14, 8, state, VK_BACK);
        break;
      default: {
        // A text key: the character it types, on the key that the US layout has in the
        // same place.
        char32_t typed = static_cast<char32_t>(code);
        if (text > 0) {
          typed = static_cast<char32_t>(text);
        } else if ((state & kShiftPressed) != 0 && shifted > 0) {
          typed = static_cast<char32_t>(shifted);
        }
        if (text <= 0 && (state & kCapsLockOn) != 0 && typed < 0x80 &&
            std::isalpha(static_cast<int>(typed)))
          typed ^= 0x20;
        const int cp866 = ToCp866(typed);
        if (cp866 < 0) return;
        const int us = base > 0 && base < 0x80 ? base
                       : code < 0x80           ? code
                                               : UsKeyOfCyrillic(static_cast<char32_t>(code));
        const AsciiKey position = AsciiKeys()[static_cast<uint8_t>(us) & 0x7F];
        uint8_t character = static_cast<uint8_t>(cp866);
        if (cp866 < 0x80 && (state & (kLeftCtrlPressed | kRightCtrlPressed)) != 0)
          character = ControlCharacter(character);
        key = MakeKey(position.scan, character, state,
                      VirtualKeyOfAscii(static_cast<uint8_t>(us & 0x7F)));
        break;
      }
    }
  }
  key.key_down = down;
  Emit(key, out);
}

}  // namespace console::terminal
