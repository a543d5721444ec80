// Keyboard: key-by-key reading from the console's event queue with extended keys and Alt
// composition on the numeric keypad, and the echoed line editor behind INPUT.
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

enum : uint8_t {
  VK_SHIFT = 16,
  VK_CONTROL = 17,
  VK_MENU = 18,
  VK_CAPITAL = 20,
  VK_NUMLOCK = 144,
  VK_SCROLL = 145,
};

// Extended codes of the cursor and keypad block (scan codes 71 to 83) under Ctrl.
constexpr uint8_t CTRLKEYPADKEYS[13] = {119, 141, 132, 142, 115, 143, 116,
                                        78,  117, 145, 118, 146, 147};

bool IsModifierOrLock(uint16_t virtual_key) {
  switch (virtual_key & 0xFF) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
      return true;
    default:
      return false;
  }
}

// The digit a keypad key composes, by scan code; -1 for any other key. The grey cursor
// keys share these scan codes and compose too.
int KeypadDigit(uint16_t scan_code) {
  switch (scan_code) {
    case 71:
      return 7;
    case 72:
      return 8;
    case 73:
      return 9;
    case 75:
      return 4;
    case 76:
      return 5;
    case 77:
      return 6;
    case 79:
      return 1;
    case 80:
      return 2;
    case 81:
      return 3;
    case 82:
      return 0;
    default:
      return -1;
  }
}

// Handles one key press; true when it yields a key.
bool TakeKeyDown(const KeyEvent& key) {
  if (IsModifierOrLock(key.virtual_key)) return false;
  const bool alt_held = (key.control_state & (RIGHT_ALT_PRESSED | LEFT_ALT_PRESSED)) != 0;
  if (key.character == 0 || (key.control_state & (ENHANCED_KEY | LEFT_ALT_PRESSED)) != 0) {
    SPECIALKEY = true;
    SCANCODE = REMAPSCANCODE(static_cast<uint8_t>(key.scan_code),
                             static_cast<uint8_t>(key.control_state), key.virtual_key);
  } else if (key.character == 9 && (key.control_state & SHIFT_PRESSED) != 0) {
    SPECIALKEY = true;
    SCANCODE = 15;
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
  if ((key.virtual_key & 0xFF) != VK_MENU || !DOINGNUMCHARS || DOINGNUMCODE == 0) return false;
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

uint8_t REMAPSCANCODE(uint8_t scan_code, uint8_t control_state, int32_t /*virtual_key*/) {
  if ((control_state & (RIGHT_ALT_PRESSED | LEFT_ALT_PRESSED)) != 0) {
    if (scan_code >= 2 && scan_code <= 13) return scan_code + 118;
    if (scan_code == 28) return 166;
    if (scan_code == 53) return 164;
    if (scan_code >= 59 && scan_code <= 68) return scan_code + 45;
    switch (scan_code) {
      case 71:
      case 72:
      case 73:
      case 75:
      case 77:
      case 79:
      case 80:
      case 81:
      case 82:
      case 83:
        return scan_code + 80;
      default:
        break;
    }
    if (scan_code == 87 || scan_code == 88) return scan_code + 52;
    return scan_code;
  }
  if ((control_state & (RIGHT_CTRL_PRESSED | LEFT_CTRL_PRESSED)) != 0) {
    if (scan_code == 15) return 148;
    if (scan_code == 53) return 149;
    if (scan_code == 55) return 150;
    if (scan_code >= 59 && scan_code <= 68) return scan_code + 35;
    if (scan_code >= 71 && scan_code <= 83) return CTRLKEYPADKEYS[scan_code - 71];
    if (scan_code == 87 || scan_code == 88) return scan_code + 50;
    return scan_code;
  }
  if ((control_state & SHIFT_PRESSED) != 0) {
    if (scan_code >= 59 && scan_code <= 68) return scan_code + 25;
    if (scan_code == 87 || scan_code == 88) return scan_code + 48;
    return scan_code;
  }
  if (scan_code == 87 || scan_code == 88) return scan_code + 46;
  return scan_code;
}

// ---- The line editor --------------------------------------------------------------------

namespace {

// Erases the last character, but only with the caret at the end of the text.
void BACKSPACE(TEXTREC& file) {
  if (file.bufpos <= 0 || file.bufpos != file.bufend) return;
  WRITECHAR(8);
  WRITECHAR(32);
  WRITECHAR(8);
  --file.bufpos;
  --file.bufend;
}

void CaretRight(TEXTREC& file) {
  WRITECHAR(file.buffer[file.bufpos]);
  ++file.bufpos;
}

void TypeCharacter(TEXTREC& file, uint8_t ch) {
  if (file.bufpos >= file.bufsize - 2) return;
  file.buffer[file.bufpos++] = ch;
  WRITECHAR(ch);
}

// Acts on an extended key; true when it ends the line.
bool EditExtended(TEXTREC& file, uint8_t code) {
  switch (code) {
    case 28:  // keypad Enter
      return true;
    case 53:  // keypad slash
      TypeCharacter(file, '/');
      break;
    case 71:  // Home
      while (file.bufpos > 0) {
        --file.bufpos;
        WRITECHAR(8);
      }
      break;
    case 75:  // Left
      if (file.bufpos > 0) {
        --file.bufpos;
        WRITECHAR(8);
      }
      break;
    case 77:  // Right
      if (file.bufpos < file.bufend) CaretRight(file);
      break;
    case 79:  // End
      while (file.bufpos < file.bufend) CaretRight(file);
      break;
    default:
      break;
  }
  return false;
}

// Waits for a key; false when input ends first.
bool WaitForKeyOrEnd() {
  while (!KEYPRESSED()) {
    if (KeysEnded()) return false;
    CurrentPlatform().WaitForInput();
  }
  return true;
}

}  // namespace

int16_t CRTREAD(TEXTREC& file) {
  GETSCREENCURSOR(CURRX, CURRY);
  file.bufpos = 0;
  file.bufend = 0;
  for (;;) {
    if (file.bufpos > file.bufend) file.bufend = file.bufpos;
    SETSCREENCURSOR(CURRX, CURRY);
    // Standard input that ends ends the line as Enter would.
    if (!WaitForKeyOrEnd()) break;
    const uint8_t key = READKEY();
    if (key == 0) {
      if (EditExtended(file, READKEY())) break;
      continue;
    }
    if (key == 13) break;
    switch (key) {
      case 8:   // Backspace
      case 19:  // Ctrl+S
        BACKSPACE(file);
        break;
      case 27:  // Esc
      case 25:  // Ctrl+Y: erase the whole line
        while (file.bufpos < file.bufend) CaretRight(file);
        while (file.bufend > 0) BACKSPACE(file);
        break;
      case 26:  // Ctrl+Z
        break;
      default:
        TypeCharacter(file, key);
        break;
    }
  }
  WRITECHAR(13);
  WRITECHAR(10);
  file.buffer[file.bufend] = 13;
  file.buffer[file.bufend + 1] = 10;
  file.bufend += 2;
  file.bufpos = 0;
  SETSCREENCURSOR(CURRX, CURRY);
  return 0;
}

int16_t CRTRETURN(TEXTREC& /*file*/) {
  return 0;
}

}  // namespace console
