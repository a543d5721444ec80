// Left and right Alt and Ctrl. A key's own event says only that some Alt or some Ctrl is
// down (in a browser also whether AltGr is); which one, the modifier keys' own presses and
// releases tell. The kitty keyboard protocol and the browser both report them so.
#pragma once

#include <cstdint>

#include "console/pc_keyboard.hpp"

namespace console {

class ModifierSides {
 public:
  // The modifier key of FLAG (kLeftAltPressed, kRightAltPressed, kLeftCtrlPressed or
  // kRightCtrlPressed) went down or up.
  void Track(uint32_t flag, bool down) { held_ = down ? held_ | flag : held_ & ~flag; }
  bool Held(uint32_t flag) const { return (held_ & flag) != 0; }
  uint32_t held() const { return held_; }
  // Modifier keys may have been let go unseen.
  void Forget() { held_ = 0; }
  // What is held now is what STATE says: a release that was never seen is forgotten.
  void Keep(uint32_t state) { held_ = state & (kAltPressed | kCtrlPressed); }

  // The Alt and Ctrl flags of a key event whose modifiers say ALT, ALT_GRAPH and CTRL: the
  // ones held, the left one when none is. AltGr is the right Alt whatever Alt flag comes
  // with it.
  uint32_t SidesOf(bool alt, bool alt_graph, bool ctrl) const;

 private:
  uint32_t held_ = 0;
};

// The character that a key with CHARACTER types under STATE, the key being the one that
// types US_KEY in the US layout. Ctrl gives the control character of its US-layout letter,
// as on the PC keyboard, whatever layout is active: Ctrl + the C key is 3 under a Russian
// layout too. AltGr (right Alt, which also reports Ctrl on some systems) types its own.
uint8_t CharacterUnderCtrl(uint8_t character, char us_key, uint32_t state);

}  // namespace console
