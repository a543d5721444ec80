#include "console/web/browser_keys.hpp"

#include <string>

#include "console/character_keys.hpp"
#include "console/modifier_sides.hpp"

namespace console::web {
namespace {

// Keys that type no character of their own, or a fixed one, by their `code`. HELD is the
// control-key flag a modifier key holds down.
struct FixedKey {
  std::string_view code;
  NamedKey key;
  uint32_t held = 0;
};

constexpr FixedKey kFixedKeys[] = {
    {"Escape", keys::kEscape},
    {"Enter", keys::kEnter},
    {"Tab", keys::kTab},
    {"Backspace", keys::kBackspace},
    {"ArrowUp", keys::kUp},
    {"ArrowDown", keys::kDown},
    {"ArrowLeft", keys::kLeft},
    {"ArrowRight", keys::kRight},
    {"Home", keys::kHome},
    {"End", keys::kEnd},
    {"PageUp", keys::kPageUp},
    {"PageDown", keys::kPageDown},
    {"Insert", keys::kInsert},
    {"Delete", keys::kDelete},
    {"NumpadEnter", keys::kKeypadEnter},
    {"NumpadDivide", keys::kKeypadSlash},
    {"NumpadMultiply", keys::kKeypadStar},
    {"NumpadSubtract", keys::kKeypadMinus},
    {"NumpadAdd", keys::kKeypadPlus},
    {"ShiftLeft", {scan::kLeftShift, vk::kShift}},
    {"ShiftRight", {scan::kRightShift, vk::kShift}},
    {"ControlLeft", {scan::kControl, vk::kControl}, kLeftCtrlPressed},
    {"ControlRight", {scan::kControl, vk::kControl, true}, kRightCtrlPressed},
    {"AltLeft", {scan::kAlt, vk::kMenu}, kLeftAltPressed},
    {"AltRight", {scan::kAlt, vk::kMenu, true}, kRightAltPressed},
    {"CapsLock", {scan::kCapsLock, vk::kCapital}},
    {"NumLock", {scan::kNumLock, vk::kNumLock, true}},
    {"ScrollLock", {scan::kScrollLock, vk::kScroll}},
    {"MetaLeft", {0x5B, 0x5B, true}},
    {"MetaRight", {0x5C, 0x5C, true}},
    {"ContextMenu", {0x5D, 0x5D, true}},
    {"IntlBackslash", {0x56, 0xE2}},
};

// The keypad keys that type with Num Lock on and move without it.
struct KeypadKey {
  std::string_view code;
  NamedKey typing;
  NamedKey moving;
};

constexpr KeypadKey kKeypadKeys[] = {
    {"Numpad0", keys::KeypadDigit(0), keys::KeypadMoving(0)},
    {"Numpad1", keys::KeypadDigit(1), keys::KeypadMoving(1)},
    {"Numpad2", keys::KeypadDigit(2), keys::KeypadMoving(2)},
    {"Numpad3", keys::KeypadDigit(3), keys::KeypadMoving(3)},
    {"Numpad4", keys::KeypadDigit(4), keys::KeypadMoving(4)},
    {"Numpad5", keys::KeypadDigit(5), keys::KeypadMoving(5)},
    {"Numpad6", keys::KeypadDigit(6), keys::KeypadMoving(6)},
    {"Numpad7", keys::KeypadDigit(7), keys::KeypadMoving(7)},
    {"Numpad8", keys::KeypadDigit(8), keys::KeypadMoving(8)},
    {"Numpad9", keys::KeypadDigit(9), keys::KeypadMoving(9)},
    {"NumpadDecimal", keys::kKeypadPoint, keys::KeypadMoving(10)},
};

// The keys whose US-layout character names them.
struct TextKey {
  std::string_view code;
  char us;
};

constexpr TextKey kPunctuationKeys[] = {
    {"Minus", '-'},      {"Equal", '='},     {"BracketLeft", '['}, {"BracketRight", ']'},
    {"Backslash", '\\'}, {"Semicolon", ';'}, {"Quote", '\''},      {"Backquote", '`'},
    {"Comma", ','},      {"Period", '.'},    {"Slash", '/'},       {"Space", ' '},
};

// The US character of a text key's `code`: "KeyD" d, "Digit5" 5, "Comma" ","; 0 for others.
char UsCharacterOf(std::string_view code) {
  if (code.size() == 4 && code.starts_with("Key") && code[3] >= 'A' && code[3] <= 'Z')
    return static_cast<char>(code[3] - 'A' + 'a');
  if (code.size() == 6 && code.starts_with("Digit") && code[5] >= '0' && code[5] <= '9')
    return code[5];
  for (const TextKey& key : kPunctuationKeys)
    if (key.code == code) return key.us;
  return 0;
}

// The one character that TEXT is, in UTF-8; nothing for names ("Enter", "Dead"), empty
// text and malformed text (which does not come back from its decoding unchanged).
std::optional<char32_t> OneCharacter(std::string_view text) {
  const std::string bytes(text);
  const char32_t code_point = DecodeUtf8(bytes);
  std::string again;
  AppendUtf8(code_point, again);
  if (bytes.empty() || again != bytes) return std::nullopt;
  return code_point;
}

}  // namespace

uint32_t BrowserKeys::State(uint32_t modifiers) {
  uint32_t state =
      sides_.SidesOf((modifiers & modifier::kAlt) != 0, (modifiers & modifier::kAltGraph) != 0,
                     (modifiers & modifier::kCtrl) != 0);
  sides_.Keep(state);  // a release the page never saw is forgotten here
  if ((modifiers & modifier::kShift) != 0) state |= kShiftPressed;
  if ((modifiers & modifier::kCapsLock) != 0) state |= kCapsLockOn;
  if ((modifiers & modifier::kNumLock) != 0) state |= kNumLockOn;
  if ((modifiers & modifier::kScrollLock) != 0) state |= kScrollLockOn;
  return state;
}

std::optional<KeyEvent> BrowserKeys::Convert(const BrowserKey& event) {
  const std::optional<char32_t> typed = OneCharacter(event.key);
  auto character_of = [&](char32_t code_point) {
    const int code = ToCp866(code_point, high_);
    return static_cast<uint8_t>(code < 0 ? 0 : code);
  };

  for (const FixedKey& fixed : kFixedKeys) {
    if (fixed.code != event.code) continue;
    if (fixed.held != 0) sides_.Track(fixed.held, event.down);
    const uint32_t state = State(event.modifiers);
    NamedKey key = fixed.key;
    // As on the PC: Ctrl+Enter is line feed, Ctrl+Backspace delete.
    if ((state & kCtrlPressed) != 0 && key.character == '\r') key.character = '\n';
    if ((state & kCtrlPressed) != 0 && key.character == '\b') key.character = 0x7F;
    // The keypad's operators type what the browser says they type.
    if (key.character > ' ' && typed) key.character = character_of(*typed);
    return MakeKey(key, state, event.down);
  }

  const uint32_t state = State(event.modifiers);
  for (const KeypadKey& keypad : kKeypadKeys) {
    if (keypad.code != event.code) continue;
    // Num Lock as the key shows it: a digit (or the decimal separator) types.
    if (!typed) return MakeKey(keypad.moving, state, event.down);
    NamedKey key = keypad.typing;
    key.character = character_of(*typed);
    return MakeKey(key, state, event.down);
  }

  if (event.code.size() >= 2 && event.code[0] == 'F') {
    int n = 0;
    for (char digit : event.code.substr(1))
      n = digit >= '0' && digit <= '9' ? n * 10 + digit - '0' : 99;
    if (n >= 1 && n <= 12) return MakeKey(keys::Function(n), state, event.down);
  }

  // A text key: the character it types, on the key it has in the US layout; a key the page
  // cannot place (a virtual keyboard's) goes where the US or Russian layout has its
  // character.
  char us = UsCharacterOf(event.code);
  if (us == 0 && typed) us = *typed < 0x80 ? static_cast<char>(*typed) : UsKeyOfCyrillic(*typed);
  if (us == 0) return std::nullopt;
  const uint8_t character = CharacterUnderCtrl(typed ? character_of(*typed) : 0, us, state);
  return MakeKey(KeyOfAscii(static_cast<uint8_t>(us)).scan, character, state,
                 VirtualKeyOfAscii(static_cast<uint8_t>(us)), event.down);
}

}  // namespace console::web
