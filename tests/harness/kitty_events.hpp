// Key events as a terminal that speaks the kitty keyboard protocol sends them, for the tests
// that type them.
#pragma once

#include <string>

namespace e2e::kitty {

inline std::string Press(int code, int mods = 1) {
  return "\x1b[" + std::to_string(code) + (mods != 1 ? ";" + std::to_string(mods) : "") + "u";
}
inline std::string Release(int code, int mods = 1) {
  return "\x1b[" + std::to_string(code) + ";" + std::to_string(mods) + ":3u";
}
inline std::string Tap(int code, int mods = 1) {
  return Press(code, mods) + Release(code, mods);
}

// Codes of the protocol's keys, and the modifier parameters of Alt and Ctrl.
constexpr int kLeftAlt = 57443, kRightAlt = 57449, kKeypad0 = 57399;
constexpr int kAltMods = 3, kCtrlMods = 5;

}  // namespace e2e::kitty
