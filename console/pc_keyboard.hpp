// The PC keyboard as the console reports it: control-key state flags, virtual-key codes,
// scan codes (set 1, without the E0 prefix of the grey keys), and the named keys from which
// the platforms' decoders and the tests build their key events.
#pragma once

#include <cstdint>

#include "console/platform.hpp"

namespace console {

// Control-key state flags of a key event.
constexpr uint32_t kRightAltPressed = 0x0001;
constexpr uint32_t kLeftAltPressed = 0x0002;
constexpr uint32_t kRightCtrlPressed = 0x0004;
constexpr uint32_t kLeftCtrlPressed = 0x0008;
constexpr uint32_t kShiftPressed = 0x0010;
constexpr uint32_t kNumLockOn = 0x0020;
constexpr uint32_t kScrollLockOn = 0x0040;
constexpr uint32_t kCapsLockOn = 0x0080;
constexpr uint32_t kEnhancedKey = 0x0100;  // a grey key, sent with the E0 prefix

constexpr uint32_t kAltPressed = kLeftAltPressed | kRightAltPressed;
constexpr uint32_t kCtrlPressed = kLeftCtrlPressed | kRightCtrlPressed;

// Virtual-key codes. Letters and digits are their upper-case ASCII codes.
namespace vk {
enum : uint16_t {
  kBack = 8,
  kTab = 9,
  kClear = 12,
  kReturn = 13,
  kShift = 16,
  kControl = 17,
  kMenu = 18,  // Alt
  kCapital = 20,
  kEscape = 27,
  kSpace = 32,
  kPrior = 33,
  kNext = 34,
  kEnd = 35,
  kHome = 36,
  kLeft = 37,
  kUp = 38,
  kRight = 39,
  kDown = 40,
  kInsert = 45,
  kDelete = 46,
  kNumpad0 = 96,
  kMultiply = 106,
  kAdd = 107,
  kSubtract = 109,
  kDecimal = 110,
  kDivide = 111,
  kF1 = 112,
  kNumLock = 144,
  kScroll = 145,
};
}  // namespace vk

// Scan codes of the keys the layer treats by name.
namespace scan {
enum : uint16_t {
  kEscape = 1,
  kDigit1 = 2,  // to kDigit1 + 9 for 0, then minus 12 and equals 13
  kEquals = 13,
  kBackspace = 14,
  kTab = 15,
  kEnter = 28,
  kControl = 29,
  kLeftShift = 42,
  kSlash = 53,  // also keypad slash, as a grey key
  kRightShift = 54,
  kKeypadStar = 55,
  kAlt = 56,
  kSpace = 57,
  kCapsLock = 58,
  kF1 = 59,  // to kF1 + 9 for F10
  kF10 = 68,
  kNumLock = 69,
  kScrollLock = 70,
  kHome = 71,  // 71 to 83: the keypad, shared with the grey cursor block
  kUp = 72,
  kPageUp = 73,
  kKeypadMinus = 74,
  kLeft = 75,
  kKeypad5 = 76,
  kRight = 77,
  kKeypadPlus = 78,
  kEnd = 79,
  kDown = 80,
  kPageDown = 81,
  kInsert = 82,
  kDelete = 83,
  kF11 = 87,
  kF12 = 88,
};
}  // namespace scan

// A key by its place on the keyboard.
struct NamedKey {
  uint16_t scan = 0;
  uint16_t virtual_key = 0;
  bool enhanced = false;  // one of the grey keys
  uint8_t character = 0;
};

namespace keys {
constexpr NamedKey kUp{scan::kUp, vk::kUp, true}, kDown{scan::kDown, vk::kDown, true},
    kRight{scan::kRight, vk::kRight, true}, kLeft{scan::kLeft, vk::kLeft, true},
    kHome{scan::kHome, vk::kHome, true}, kEnd{scan::kEnd, vk::kEnd, true},
    kInsert{scan::kInsert, vk::kInsert, true}, kDelete{scan::kDelete, vk::kDelete, true},
    kPageUp{scan::kPageUp, vk::kPrior, true}, kPageDown{scan::kPageDown, vk::kNext, true},
    kKeypad5{scan::kKeypad5, vk::kClear, false};
constexpr NamedKey kEscape{scan::kEscape, vk::kEscape, false, 27},
    kEnter{scan::kEnter, vk::kReturn, false, 13}, kTab{scan::kTab, vk::kTab, false, 9},
    kBackspace{scan::kBackspace, vk::kBack, false, 8};
constexpr NamedKey kKeypadEnter{scan::kEnter, vk::kReturn, true, 13},
    kKeypadSlash{scan::kSlash, vk::kDivide, true, '/'},
    kKeypadStar{scan::kKeypadStar, vk::kMultiply, false, '*'},
    kKeypadPlus{scan::kKeypadPlus, vk::kAdd, false, '+'},
    kKeypadMinus{scan::kKeypadMinus, vk::kSubtract, false, '-'},
    kKeypadPoint{scan::kDelete, vk::kDecimal, false, '.'};

// F1 to F12.
constexpr NamedKey Function(int n) {
  return NamedKey{static_cast<uint16_t>(n <= 10 ? scan::kF1 + n - 1 : scan::kF11 + n - 11),
                  static_cast<uint16_t>(vk::kF1 + n - 1)};
}

// Keypad digits 0 to 9 sit on the scan codes of Ins, End, Down, PgDn, Left, 5, Right,
// Home, Up, PgUp.
constexpr NamedKey KeypadDigit(int digit) {
  constexpr uint16_t kScans[10] = {scan::kInsert, scan::kEnd,     scan::kDown,  scan::kPageDown,
                                   scan::kLeft,   scan::kKeypad5, scan::kRight, scan::kHome,
                                   scan::kUp,     scan::kPageUp};
  return NamedKey{kScans[digit], static_cast<uint16_t>(vk::kNumpad0 + digit), false,
                  static_cast<uint8_t>('0' + digit)};
}

// The keypad's digit keys with Num Lock off: the moves of the grey keys on the same scan
// codes, but not enhanced; 5 is the keypad's own. DIGIT 10 is the decimal point's Del.
constexpr NamedKey KeypadMoving(int digit) {
  constexpr NamedKey kMoves[11] = {kInsert, kEnd,  kDown, kPageDown, kLeft,  kKeypad5,
                                   kRight,  kHome, kUp,   kPageUp,   kDelete};
  NamedKey key = kMoves[digit];
  key.enhanced = false;
  return key;
}
}  // namespace keys

// The one builder of key events.
constexpr KeyEvent MakeKey(uint16_t scan_code, uint8_t character, uint32_t state,
                           uint16_t virtual_key, bool down = true) {
  KeyEvent key;
  key.key_down = down;
  key.scan_code = scan_code;
  key.character = character;
  key.control_state = state;
  key.virtual_key = virtual_key;
  return key;
}

// A named key's event: grey keys carry the enhanced flag; a keypad digit says Num Lock is on.
constexpr KeyEvent MakeKey(const NamedKey& named, uint32_t state, bool down = true) {
  if (named.enhanced) state |= kEnhancedKey;
  if (named.character >= '0' && named.character <= '9') state |= kNumLockOn;
  return MakeKey(named.scan, named.character, state, named.virtual_key, down);
}

}  // namespace console
