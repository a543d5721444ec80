#include "console/stream/kitty_keys.hpp"

#include <cctype>
#include <iterator>

#include "console/character_keys.hpp"
#include "console/modifier_sides.hpp"

namespace console::stream {
namespace {

struct ModifierKey {
  int code;
  uint16_t virtual_key;
  uint16_t scan;
  bool enhanced;
  uint32_t side;  // which Alt or Ctrl it is
};

const ModifierKey* FindModifierKey(int code) {
  static constexpr ModifierKey kKeys[] = {
      {57441, vk::kShift, scan::kLeftShift, false, 0},
      {57447, vk::kShift, scan::kRightShift, false, 0},
      {57442, vk::kControl, scan::kControl, false, kLeftCtrlPressed},
      {57448, vk::kControl, scan::kControl, true, kRightCtrlPressed},
      {57443, vk::kMenu, scan::kAlt, false, kLeftAltPressed},
      {57449, vk::kMenu, scan::kAlt, true, kRightAltPressed},
      {57453, vk::kMenu, scan::kAlt, true, kRightAltPressed},  // AltGr (ISO level 3 shift)
      {57358, vk::kCapital, scan::kCapsLock, false, 0},
      {57359, vk::kScroll, scan::kScrollLock, false, 0},
      {57360, vk::kNumLock, scan::kNumLock, false, 0},
  };
  for (const ModifierKey& key : kKeys)
    if (key.code == code) return &key;
  return nullptr;
}

// Keypad keys, 57399 to 57427: 0-9 . / * - + Enter = , then Left Right Up Down PgUp PgDn
// Home End Ins Del and Begin (5 without Num Lock). Scan 0: no key of the PC keypad.
const NamedKey* FindKeypadKey(int code) {
  static constexpr NamedKey kKeys[] = {
      keys::KeypadDigit(0),
      keys::KeypadDigit(1),
      keys::KeypadDigit(2),
      keys::KeypadDigit(3),
      keys::KeypadDigit(4),
      keys::KeypadDigit(5),
      keys::KeypadDigit(6),
      keys::KeypadDigit(7),
      keys::KeypadDigit(8),
      keys::KeypadDigit(9),
      keys::kKeypadPoint,
      keys::kKeypadSlash,
      keys::kKeypadStar,
      keys::kKeypadMinus,
      keys::kKeypadPlus,
      keys::kKeypadEnter,
      {},  // keypad =
      {},  // keypad ,
      {scan::kLeft, vk::kLeft},
      {scan::kRight, vk::kRight},
      {scan::kUp, vk::kUp},
      {scan::kDown, vk::kDown},
      {scan::kPageUp, vk::kPrior},
      {scan::kPageDown, vk::kNext},
      {scan::kHome, vk::kHome},
      {scan::kEnd, vk::kEnd},
      {scan::kInsert, vk::kInsert},
      {scan::kDelete, vk::kDelete},
      {scan::kKeypad5, vk::kClear},
  };
  constexpr int kFirst = 57399;
  if (code < kFirst || code >= kFirst + static_cast<int>(std::size(kKeys))) return nullptr;
  const NamedKey& key = kKeys[code - kFirst];
  return key.scan == 0 ? nullptr : &key;
}

// The protocol's own codes for keys that have no Unicode character.
bool IsFunctionalKey(int code) {
  constexpr int kFirst = 57344;
  constexpr int kLast = 63743;
  return code >= kFirst && code <= kLast;
}

constexpr int kRelease = 3;

}  // namespace

uint32_t KittyKeys::Modifiers(int parameter) const {
  const int bits = parameter >= 1 ? parameter - 1 : 0;
  // A right Alt held down without the Alt bit is AltGr, which reports no Alt of its own.
  uint32_t state = sides_.SidesOf((bits & 2) != 0, sides_.Held(kRightAltPressed), (bits & 4) != 0);
  if (bits & 1) state |= kShiftPressed;
  if (bits & 64) state |= kCapsLockOn;
  if (bits & 128) state |= kNumLockOn;
  return state;
}

std::optional<KeyEvent> KittyKeys::Key(const Token& token,
                                       const std::array<char32_t, 128>& cp866_high) {
  const int code = token.Sub(0, 0);
  const int shifted = token.Sub(0, 1);
  const int base = token.Sub(0, 2);
  const int mods = token.Sub(1, 0);
  const bool down = token.Sub(1, 1) != kRelease;
  const int text = token.Sub(2, 0);
  if (code < 0) return std::nullopt;

  if (const ModifierKey* modifier = FindModifierKey(code)) {
    sides_.Track(modifier->side, down);
    const uint32_t state = (Modifiers(mods) & (kShiftPressed | kCapsLockOn | kNumLockOn)) |
                           sides_.held() | (modifier->enhanced ? kEnhancedKey : 0);
    return MakeKey(modifier->scan, 0, state, modifier->virtual_key, down);
  }
  if (const NamedKey* keypad = FindKeypadKey(code)) {
    return MakeKey(keypad->scan, keypad->character,
                   Modifiers(mods) | (keypad->enhanced ? kEnhancedKey : 0), keypad->virtual_key,
                   down);
  }
  if (IsFunctionalKey(code)) return std::nullopt;  // F13 on, media keys: none of the PC's

  const uint32_t state = Modifiers(mods);
  if (const auto control = ControlKeyOfCode(static_cast<char32_t>(code), state, down))
    return control;
  // A text key: the character it types, on the key that the US layout has in the same place.
  char32_t typed = static_cast<char32_t>(code);
  if (text > 0) {
    typed = static_cast<char32_t>(text);
  } else if ((state & kShiftPressed) != 0 && shifted > 0) {
    typed = static_cast<char32_t>(shifted);
  }
  if (text <= 0 && (state & kCapsLockOn) != 0 && typed < 0x80 &&
      std::isalpha(static_cast<int>(typed)))
    typed ^= 0x20;
  const int cp866 = ToCp866(typed, cp866_high);
  if (cp866 < 0) return std::nullopt;
  const int us = base > 0 && base < 0x80 ? base
                 : code < 0x80           ? code
                                         : UsKeyOfCyrillic(static_cast<char32_t>(code));
  const char us_key = static_cast<char>(us & 0x7F);
  KeyEvent key = CharacterKeyEvent(static_cast<uint8_t>(cp866), us_key, state,
                                   VirtualKeyOfAscii(static_cast<uint8_t>(us_key)));
  key.character = CharacterUnderCtrl(key.character, us_key, state);
  key.key_down = down;
  return key;
}

}  // namespace console::stream
