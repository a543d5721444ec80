// The PC keyboard's character keys in the US layout, as a PC reports them: which key (scan
// code) types each ASCII character and whether it needs Shift, where the Russian layout
// puts each Cyrillic letter, and what Ctrl makes of a character.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "console/cp866.hpp"
#include "console/pc_keyboard.hpp"

namespace console {

struct AsciiKey {
  uint8_t scan = 0;  // 0: no key types it
  bool shift = false;
};

// The US-layout key of a printable ASCII character.
AsciiKey KeyOfAscii(uint8_t ch);

// The US character on the key that the Russian (ЙЦУКЕН) layout puts CODE_POINT on; 0 when
// it is no Cyrillic letter of that layout.
char UsKeyOfCyrillic(char32_t code_point);

// Ctrl turns a letter, [, \ and ] into their control characters, as terminals do.
uint8_t ControlCharacter(uint8_t ch);

// Letters, digits and Space have their own virtual-key code; other characters 0.
uint16_t VirtualKeyOfAscii(uint8_t ch);

// Esc, Enter, Tab and Backspace (from 8 or 127) by their code; nothing for other codes.
std::optional<KeyEvent> ControlKeyOfCode(char32_t code, uint32_t state, bool down = true);

// The key event of a character key: CP866 (the character in code page 866) typed on the
// key that types US_KEY in the US layout, with STATE. Ctrl makes a control character of an
// ASCII one.
KeyEvent CharacterKeyEvent(uint8_t cp866, char us_key, uint32_t state, uint16_t virtual_key);

}  // namespace console
