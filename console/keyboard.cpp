// Keyboard: key-by-key reading from the console's event queue, with extended keys and Alt
// composition on the numeric keypad.
#include "console/console.hpp"
#include "runtime/runtime.hpp"

namespace console {

// The pending key: an ordinary key's character, or an extended key's code. 0: none.
uint8_t SCANCODE = 0;
// The pending key is extended and its leading 0 has not been returned yet.
bool SPECIALKEY = false;
// A character is being composed with Alt held and digits on the numeric keypad.
bool DOINGNUMCHARS = false;
uint8_t DOINGNUMCODE = 0;

namespace {

EndOfInputHandler END_OF_INPUT_HANDLER = nullptr;

// Extended codes of the cursor and keypad block (scan codes 71 to 83) under Ctrl.
constexpr uint8_t CTRLKEYPADKEYS[13] = {119, 141, 132, 142, 115, 143, 116,
                                        78,  117, 145, 118, 146, 147};

bool IsModifierOrLock(uint16_t virtual_key) {
  switch (virtual_key & 0xFF) {
    case vk::kShift:
    case vk::kControl:
    case vk::kMenu:
    case vk::kCapital:
    case vk::kNumLock:
    case vk::kScroll: return true;
    default: return false;
  }
}

// The digit a keypad key composes, by scan code; -1 for any other key. The grey cursor
// keys share these scan codes and compose too.
int KeypadDigit(uint16_t scan_code) {
  for (int digit = 0; digit <= 9; ++digit)
    if (keys::KeypadDigit(digit).scan == scan_code) return digit;
  return -1;
}

// One row of the remapping table: scan codes FIRST to LAST of a modifier group become
// scan code + OFFSET, or, with a table, TABLE[scan code - FIRST].
struct Remap {
  uint8_t first;
  uint8_t last;
  int offset;
  const uint8_t* table = nullptr;
};

// Alt, Ctrl, Shift and no modifier; a scan code a group does not list stays as it is.
constexpr Remap ALT_REMAP[] = {
    {2, 13, 118}, {28, 28, 166 - 28}, {53, 53, 164 - 53}, {59, 68, 45}, {71, 73, 80},
    {75, 75, 80}, {77, 77, 80},       {79, 83, 80},       {87, 88, 52},
};
constexpr Remap CTRL_REMAP[] = {
    {15, 15, 148 - 15}, {53, 53, 149 - 53},          {55, 55, 150 - 55},
    {59, 68, 35},       {71, 83, 0, CTRLKEYPADKEYS}, {87, 88, 50},
};
constexpr Remap SHIFT_REMAP[] = {{59, 68, 25}, {87, 88, 48}};
constexpr Remap PLAIN_REMAP[] = {{87, 88, 46}};

template <std::size_t N>
uint8_t Lookup(const Remap (&table)[N], uint8_t scan_code) {
  for (const Remap& row : table) {
    if (scan_code < row.first || scan_code > row.last) continue;
    if (row.table != nullptr) return row.table[scan_code - row.first];
    return static_cast<uint8_t>(scan_code + row.offset);
  }
  return scan_code;
}

// Handles one key press; true when it yields a key.
bool TakeKeyDown(const KeyEvent& key) {
  if (IsModifierOrLock(key.virtual_key)) return false;
  const bool alt_held = (key.control_state & kAltPressed) != 0;
  if (key.character == 0 || (key.control_state & (kEnhancedKey | kLeftAltPressed)) != 0) {
    SPECIALKEY = true;
    SCANCODE = REMAPSCANCODE(static_cast<uint8_t>(key.scan_code),
                             static_cast<uint8_t>(key.control_state), key.virtual_key);
  } else if (key.character == 9 && (key.control_state & kShiftPressed) != 0) {
    SPECIALKEY = true;
    SCANCODE = scan::kTab;
  } else {
    SPECIALKEY = false;
    SCANCODE = key.character;
  }
  const int digit = KeypadDigit(key.scan_code);
  if (alt_held && digit >= 0) {
    DOINGNUMCHARS = true;
    DOINGNUMCODE = static_cast<uint8_t>(DOINGNUMCODE * 10 + digit);
    SPECIALKEY = false;
    SCANCODE = 0;
    return false;
  }
  return true;
}

// Handles one key release; true when it completes an Alt composition.
bool TakeKeyUp(const KeyEvent& key) {
  if ((key.virtual_key & 0xFF) != vk::kMenu || !DOINGNUMCHARS || DOINGNUMCODE == 0) return false;
  SCANCODE = DOINGNUMCODE;
  DOINGNUMCHARS = false;
  DOINGNUMCODE = 0;
  return true;
}

}  // namespace

void ClearKeyboardState() {
  DOINGNUMCHARS = false;
  DOINGNUMCODE = 0;
}

void SetEndOfInputHandler(EndOfInputHandler proc) {
  END_OF_INPUT_HANDLER = proc;
}

bool KeysEnded() {
  return SCANCODE == 0 && CurrentPlatform().InputEnded();
}

bool KEYPRESSED() {
  if (SCANCODE != 0) return true;
  Platform& platform = CurrentPlatform();
  while (platform.PendingInputEvents() > 0) {
    const InputEvent event = platform.ReadInputEvent();
    if (event.kind != EventKind::kKey) continue;
    const bool found = event.key.key_down ? TakeKeyDown(event.key) : TakeKeyUp(event.key);
    if (found) return true;
  }
  return false;
}

uint8_t READKEY() {
  while (!KEYPRESSED()) {
    if (CurrentPlatform().InputEnded()) {
      if (END_OF_INPUT_HANDLER != nullptr) END_OF_INPUT_HANDLER();
      runtime::Halt(0);
    }
    CurrentPlatform().WaitForInput();
  }
  if (SPECIALKEY) {
    SPECIALKEY = false;
    return 0;
  }
  const uint8_t key = SCANCODE;
  SCANCODE = 0;
  return key;
}

bool WaitForKeyWithin(uint32_t timeout_ms) {
  Platform& platform = CurrentPlatform();
  const uint64_t deadline = platform.NowMs() + timeout_ms;
  for (;;) {
    if (KEYPRESSED() || platform.InputEnded()) return true;
    const uint64_t now = platform.NowMs();
    if (now >= deadline) return false;
    platform.WaitForInputAtMost(static_cast<uint32_t>(deadline - now));
  }
}

uint8_t REMAPSCANCODE(uint8_t scan_code, uint8_t control_state, int32_t /*virtual_key*/) {
  // The first group the state shows decides.
  if ((control_state & kAltPressed) != 0) return Lookup(ALT_REMAP, scan_code);
  if ((control_state & kCtrlPressed) != 0) return Lookup(CTRL_REMAP, scan_code);
  if ((control_state & kShiftPressed) != 0) return Lookup(SHIFT_REMAP, scan_code);
  return Lookup(PLAIN_REMAP, scan_code);
}

}  // namespace console
