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
//   SS3 0;m X                    the SS3 keys with modifiers (mlterm)
//   CSI 27;m;c ~, CSI c;m u      a character key with modifiers (modifyOtherKeys, CSI u)
// rxvt and mlterm, with the keypad in application mode
//   SS3 p..y n                   the keypad with Num Lock off: Ins End Down PgDn Left 5
//                                Right Home Up PgUp, and Del
// rxvt (and the Linux console)
//   CSI 25~ 26~ 28~ 29~ 31~..34~ Shift+F3 to Shift+F10
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
#include "console/stream/legacy_keys.hpp"

#include "console/character_keys.hpp"

namespace console::stream {
namespace {

// A key named by a sequence's final byte, or by its first number.
struct FinalKey {
  uint8_t final_byte;
  NamedKey key;
};
struct NumberKey {
  int number;
  NamedKey key;
};

// ---- xterm and the terminals that follow it -----------------------------------------------

// CSI X, CSI 1;m X, CSI m X; SS3 X, SS3 m X.
constexpr FinalKey kXtermLetters[] = {
    {'A', keys::kUp},         {'B', keys::kDown},       {'C', keys::kRight},
    {'D', keys::kLeft},       {'H', keys::kHome},       {'F', keys::kEnd},
    {'E', keys::kKeypad5},    {'P', keys::Function(1)}, {'Q', keys::Function(2)},
    {'R', keys::Function(3)}, {'S', keys::Function(4)},
};

// CSI n ~, CSI n;m ~ (rxvt's 7 and 8 too).
constexpr NumberKey kTildeKeys[] = {
    {1, keys::kHome},         {2, keys::kInsert},       {3, keys::kDelete},
    {4, keys::kEnd},          {5, keys::kPageUp},       {6, keys::kPageDown},
    {7, keys::kHome},         {8, keys::kEnd},          {11, keys::Function(1)},
    {12, keys::Function(2)},  {13, keys::Function(3)},  {14, keys::Function(4)},
    {15, keys::Function(5)},  {17, keys::Function(6)},  {18, keys::Function(7)},
    {19, keys::Function(8)},  {20, keys::Function(9)},  {21, keys::Function(10)},
    {23, keys::Function(11)}, {24, keys::Function(12)},
};

// SS3 X of the keypad in application mode (SS3 l: the Linux console's keypad plus).
constexpr FinalKey kKeypadKeys[] = {
    {'M', keys::kKeypadEnter}, {'j', keys::kKeypadStar},  {'k', keys::kKeypadPlus},
    {'l', keys::kKeypadPlus},  {'m', keys::kKeypadMinus}, {'o', keys::kKeypadSlash},
};
// SS3 p..y: the keypad's digit keys, 0 to 9.
constexpr uint8_t kKeypadDigitFinal = 'p';

// ---- rxvt --------------------------------------------------------------------------------

// CSI n $, CSI n ^, CSI n @: the tilde keys with Shift, Ctrl, Ctrl+Shift (as modifier
// parameters).
constexpr struct {
  uint8_t final_byte;
  int modifier;
} kRxvtModifierFinals[] = {{'$', 2}, {'^', 5}, {'@', 6}};

// CSI a..d: Shift with the arrows; SS3 a..d: Ctrl with them.
constexpr FinalKey kRxvtArrows[] = {
    {'a', keys::kUp}, {'b', keys::kDown}, {'c', keys::kRight}, {'d', keys::kLeft}};
constexpr int kRxvtCsiArrowModifier = 2;

// CSI n ~: F3 to F10 with Shift (the Linux console's too).
constexpr NumberKey kRxvtShiftedFunctionKeys[] = {
    {25, keys::Function(3)}, {26, keys::Function(4)},  {28, keys::Function(5)},
    {29, keys::Function(6)}, {31, keys::Function(7)},  {32, keys::Function(8)},
    {33, keys::Function(9)}, {34, keys::Function(10)},
};

// The modifier parameter with Shift added.
int WithShift(int parameter) {
  const int bits = parameter >= 2 ? parameter - 1 : 0;
  return (bits | 1) + 1;
}

// ---- The Linux console -------------------------------------------------------------------

// ESC [ [ A..E.
constexpr FinalKey kLinuxFunctionKeys[] = {{'A', keys::Function(1)},
                                           {'B', keys::Function(2)},
                                           {'C', keys::Function(3)},
                                           {'D', keys::Function(4)},
                                           {'E', keys::Function(5)}};
// CSI G: keypad 5.
constexpr FinalKey kLinuxCsiKeys[] = {{'G', keys::kKeypad5}};

template <typename Row, std::size_t N, typename Key>
const NamedKey* Find(const Row (&table)[N], Key key) {
  for (const Row& row : table) {
    if constexpr (requires { row.final_byte; }) {
      if (row.final_byte == key) return &row.key;
    } else {
      if (row.number == key) return &row.key;
    }
  }
  return nullptr;
}

constexpr int kRelease = 3;  // the kitty protocol's event type of a key let go

}  // namespace

uint32_t XtermModifiers(int parameter) {
  if (parameter < 2) return 0;
  const int bits = parameter - 1;
  uint32_t state = 0;
  if (bits & 1) state |= kShiftPressed;
  if (bits & (2 | 8)) state |= kLeftAltPressed;
  if (bits & 4) state |= kLeftCtrlPressed;
  return state;
}

namespace {

// What a byte below 0x80 typed alone stands for.
KeyEvent PlainByteKey(uint8_t byte, const ByteOptions& options) {
  if (byte == 27) return MakeKey(keys::kEscape, 0);  // the ESC that time decided
  if (byte == options.erase && (byte == 8 || byte == 127)) return MakeKey(keys::kBackspace, 0);
  if (byte == 13) return MakeKey(keys::kEnter, 0);
  if (byte == 10) {
    return options.lf_is_enter ? MakeKey(keys::kEnter, 0)
                               : MakeKey(KeyOfAscii('j').scan, 10, kLeftCtrlPressed, 'J');
  }
  if (byte == 9) return MakeKey(keys::kTab, 0);
  if (byte == 127) return MakeKey(scan::kBackspace, 127, kLeftCtrlPressed, vk::kBack);
  if (byte == 0) return MakeKey(KeyOfAscii('2').scan, 0, kLeftCtrlPressed, '2');
  if (byte <= 26) {
    const uint8_t letter = static_cast<uint8_t>('a' + byte - 1);
    return MakeKey(KeyOfAscii(letter).scan, byte, kLeftCtrlPressed, VirtualKeyOfAscii(letter));
  }
  if (byte < 32) {
    // Ctrl with \ ] ^ _, on the keys of \ ] 6 and minus; ^ and _ need Shift.
    static constexpr char kKeys[4] = {'\\', ']', '6', '-'};
    const uint32_t shift = byte >= 30 ? kShiftPressed : 0;
    return MakeKey(KeyOfAscii(kKeys[byte - 28]).scan, byte, kLeftCtrlPressed | shift, 0);
  }
  const AsciiKey key = KeyOfAscii(byte);
  return MakeKey(key.scan, byte, key.shift ? kShiftPressed : 0, VirtualKeyOfAscii(byte));
}

}  // namespace

KeyEvent ByteKey(const Token& token, const ByteOptions& options) {
  if (token.byte == 9 && token.alt) return MakeKey(keys::kTab, kShiftPressed);  // ESC Tab
  KeyEvent key = PlainByteKey(token.byte, options);
  if (token.alt) key.control_state |= kLeftAltPressed;
  return key;
}

std::optional<KeyEvent> Ss3Key(const Token& token, bool keypad_moves) {
  const uint32_t state = XtermModifiers(token.modifier);
  if (const NamedKey* key = Find(kXtermLetters, token.byte)) return MakeKey(*key, state);
  if (const NamedKey* key = Find(kKeypadKeys, token.byte)) return MakeKey(*key, state);
  if (token.byte >= kKeypadDigitFinal && token.byte <= kKeypadDigitFinal + 9) {
    const int digit = token.byte - kKeypadDigitFinal;
    return MakeKey(keypad_moves ? keys::KeypadMoving(digit) : keys::KeypadDigit(digit), state);
  }
  if (token.byte == 'n')
    return MakeKey(keypad_moves ? keys::KeypadMoving(10) : keys::kKeypadPoint, state);
  if (const NamedKey* key = Find(kRxvtArrows, token.byte)) return MakeKey(*key, kLeftCtrlPressed);
  return std::nullopt;
}

std::optional<KeyEvent> LinuxFunctionKey(const Token& token) {
  if (const NamedKey* key = Find(kLinuxFunctionKeys, token.byte)) return MakeKey(*key, 0);
  return std::nullopt;
}

std::optional<KeyEvent> CsiKey(const Token& token, const ModifierReader& modifiers) {
  const std::size_t count = token.parameter_count;
  const int first = token.Param(0);
  auto key_event = [&modifiers](const NamedKey& key, int modifier, int event = -1) {
    return MakeKey(key, modifiers(modifier), event != kRelease);
  };
  for (const auto& rxvt : kRxvtModifierFinals) {
    if (token.byte != rxvt.final_byte || count != 1) continue;
    if (const NamedKey* key = Find(kTildeKeys, first)) return key_event(*key, rxvt.modifier);
    if (const NamedKey* key = Find(kRxvtShiftedFunctionKeys, first))
      return key_event(*key, WithShift(rxvt.modifier));
    return std::nullopt;
  }
  if (!token.intermediates.empty()) return std::nullopt;
  if (const NamedKey* key = Find(kXtermLetters, token.byte)) {
    if (count == 0 || (count == 1 && first == 1)) return key_event(*key, 1);
    // The older CSI m X; never for R, which is a cursor report's final byte.
    if (count == 1 && first >= 2 && token.byte != 'R') return key_event(*key, first);
    if (count == 2 && first <= 1) return key_event(*key, token.Param(1), token.Sub(1, 1));
    return std::nullopt;
  }
  if (token.byte == '~' && count <= 2) {
    if (const NamedKey* key = Find(kRxvtShiftedFunctionKeys, first))
      return key_event(*key, WithShift(token.Param(1)), token.Sub(1, 1));
  }
  if (token.byte == '~') {
    const NamedKey* key = Find(kTildeKeys, first);
    if (key == nullptr || count > 2) return std::nullopt;
    return key_event(*key, token.Param(1), token.Sub(1, 1));
  }
  if (token.byte == 'Z') return MakeKey(keys::kTab, kShiftPressed | modifiers(token.Param(1)));
  if (count != 0) return std::nullopt;
  if (const NamedKey* key = Find(kRxvtArrows, token.byte))
    return key_event(*key, kRxvtCsiArrowModifier);
  if (const NamedKey* key = Find(kLinuxCsiKeys, token.byte)) return key_event(*key, 1);
  return std::nullopt;
}

}  // namespace console::stream
