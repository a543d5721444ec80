#include "console/modifier_sides.hpp"

#include "console/character_keys.hpp"

namespace console {

uint32_t ModifierSides::SidesOf(bool alt, bool alt_graph, bool ctrl) const {
  uint32_t alt_sides = held_ & kAltPressed;
  if (alt_graph) alt_sides |= kRightAltPressed;
  if (!alt) alt_sides &= ~kLeftAltPressed;
  if (!alt && !alt_graph) alt_sides = 0;
  if (alt && alt_sides == 0) alt_sides = kLeftAltPressed;
  uint32_t ctrl_sides = ctrl ? held_ & kCtrlPressed : 0;
  if (ctrl && ctrl_sides == 0) ctrl_sides = kLeftCtrlPressed;
  return alt_sides | ctrl_sides;
}

uint8_t CharacterUnderCtrl(uint8_t character, char us_key, uint32_t state) {
  const uint8_t control = ControlCharacter(static_cast<uint8_t>(us_key));
  if ((state & kCtrlPressed) != 0 && (state & kRightAltPressed) == 0 && control < 0x20)
    return control;
  return character;
}

}  // namespace console
