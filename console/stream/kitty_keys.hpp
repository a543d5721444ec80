// The kitty keyboard protocol. With the flags the console pushes (disambiguate, event
// types, alternate keys, all keys as escape codes, associated text) every key arrives as
//   CSI code[:shifted[:base]] ; mods[:type] ; text u
// or in its legacy shape with the added fields (CSI 1;mods:type A, CSI n;mods:type ~).
// type is 1 press, 2 repeat, 3 release; mods - 1 has Shift 1, Alt 2, Ctrl 4, Super 8,
// Hyper 16, Meta 32, Caps Lock 64, Num Lock 128. Modifier keys arrive as keys of their
// own, which tells left from right.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "console/modifier_sides.hpp"
#include "console/pc_keyboard.hpp"
#include "console/stream/sequence_parser.hpp"

namespace console::stream {

class KittyKeys {
 public:
  // The control-key state of the protocol's modifier parameter, with left and right told
  // apart by the modifier keys' own events.
  uint32_t Modifiers(int parameter) const;
  // The key event of a CSI ... u token; CP866_HIGH gives the Unicode of the code page 866
  // codes 0x80 to 0xFF. Nothing for keys the PC keyboard lacks.
  std::optional<KeyEvent> Key(const Token& token, const std::array<char32_t, 128>& cp866_high);
  // Modifier keys may have been let go unseen (while the program was stopped).
  void ForgetModifiers() { sides_.Forget(); }

 private:
  ModifierSides sides_;
};

}  // namespace console::stream
