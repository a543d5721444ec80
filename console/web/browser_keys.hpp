// A browser's keyboard events as PC key events. Browsers report keys exactly: presses and
// releases, the physical key (`code`), which of a pair of keys (`location`), the lock
// states, and the character typed (`key`), so every key arrives as the PC console would
// report it: scan code, virtual-key code, control-key state and the character in code
// page 866.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "console/cp866.hpp"
#include "console/modifier_sides.hpp"
#include "console/pc_keyboard.hpp"

namespace console::web {

// The modifier and lock states of an event, as its flags and getModifierState tell them.
namespace modifier {
enum : uint32_t {
  kShift = 1,
  kCtrl = 2,
  kAlt = 4,
  kAltGraph = 8,
  kCapsLock = 16,
  kNumLock = 32,
  kScrollLock = 64,
};
}  // namespace modifier

struct BrowserKey {
  bool down = true;       // keydown (auto-repeats included) or keyup
  std::string_view code;  // the physical key: "KeyD", "Numpad6", "AltLeft"
  std::string_view key;   // what it types: "d", "в", "Enter", "Dead"
  uint32_t modifiers = 0;
};

class BrowserKeys {
 public:
  // HIGH gives the Unicode of the code page 866 codes 0x80 to 0xFF.
  explicit BrowserKeys(const Cp866High& high) : high_(high) {}

  // The PC key event of a browser event; nothing for keys the PC keyboard lacks.
  std::optional<KeyEvent> Convert(const BrowserKey& event);

 private:
  uint32_t State(uint32_t modifiers);

  Cp866High high_;
  ModifierSides sides_;
};

}  // namespace console::web
