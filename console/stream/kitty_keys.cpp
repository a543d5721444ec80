#include "console/stream/kitty_keys.hpp"

#include <cctype>
#include <iterator>

#include "console/character_keys.hpp"

namespace console::stream {
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

const ModifierKey* FindModifierKey(int code) {
  static constexpr ModifierKey kKeys[] = {
      {57441, vk::kShift, scan::kLeftShift, false, 0},
      {57447, vk::kShift, scan::kRightShift, false, 0},
      {57442, vk::kControl, scan::kControl, false, kHeldLeftCtrl},
      {57448, vk::kControl, scan::kControl, true, kHeldRightCtrl},
      {57443, vk::kMenu, scan::kAlt, false, kHeldLeftAlt},
      {57449, vk::kMenu, scan::kAlt, true, kHeldRightAlt},
      {57453, vk::kMenu, scan::kAlt, true, kHeldRightAlt},  // AltGr (ISO level 3 shift)
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

uint32_t KittyKeys::HeldState() const {
  uint32_t state = 0;
  if (held_ & kHeldLeftAlt) state |= kLeftAltPressed;
  if (held_ & kHeldRightAlt) state |= kRightAltPressed;
  if (held_ & kHeldLeftCtrl) state |= kLeftCtrlPressed;
  if (held_ & kHeldRightCtrl) state |= kRightCtrlPressed;
  return state;
}

uint32_t KittyKeys::Modifiers(int parameter) const {
  const int bits = parameter >= 1 ? parameter - 1 : 0;
  const uint32_t held = HeldState();
  uint32_t state = 0;
  if (bits & 1) state |= kShiftPressed;
  // Which Alt and which Ctrl, from their own key events; the left one when unknown.
  if (bits & 2) {
    const uint32_t alt = held & kAltPressed;
    state |= alt != 0 ? alt : kLeftAltPressed;
  } else {
    state |= held & kRightAltPressed;  // AltGr reports no Alt of its own
  }
  if (bits & 4) {
    const uint32_t ctrl = held & kCtrlPressed;
    state |= ctrl != 0 ? ctrl : kLeftCtrlPressed;
  }
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
    if (down) {
      held_ = static_cast<uint8_t>(held_ | modifier->held);
    } else {
      held_ = static_cast<uint8_t>(held_ & ~modifier->held);
    }
    const uint32_t state = (Modifiers(mods) & (kShiftPressed | kCapsLockOn | kNumLockOn)) |
                           HeldState() | (modifier->enhanced ? kEnhancedKey : 0);
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
  // Ctrl with a key gives the control character of the key's base-layout letter, as on the
  // PC keyboard, whatever layout is active: Ctrl + the C key is 3 under a Russian layout
  // too. AltGr (right Alt, which also reports Ctrl on some systems) types its character.
  const uint8_t control = ControlCharacter(static_cast<uint8_t>(us_key));
  if ((state & kCtrlPressed) != 0 && (state & kRightAltPressed) == 0 && control < 0x20)
    key.character = control;
  key.key_down = down;
  return key;
}

}  // namespace console::stream
