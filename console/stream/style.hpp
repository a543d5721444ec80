// Colours as a terminal takes them: which SGR style a PC attribute is drawn in, and the
// shortest SGR sequence from one style to another.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace console::stream {

// Colours as the terminal sees them: -1 is the terminal's own default.
struct Style {
  int8_t foreground = -1;
  int8_t background = -1;
  bool bold = false;
  bool underline = false;
  // All four at once.
  friend bool operator==(Style a, Style b) {
    uint32_t x = 0, y = 0;
    std::memcpy(&x, &a, sizeof a);
    std::memcpy(&y, &b, sizeof b);
    return x == y;
  }
};

// The attribute a byte stream's console reports as its current one: the terminal's own
// default colours. It is the one attribute with the background-intensity bit set over
// background 0; any colour the program picks with TEXTCOLOR clears that bit.
constexpr uint16_t kDefaultColours = 0x87;

// PC attribute byte (bits 0-2 blue, green, red, bit 3 intensity; bits 4-6 background, bit
// 7 background intensity) to terminal colours. Background 0 is the terminal's default
// background and foreground 7, the normal text colour, its default foreground.
Style StyleOf(uint16_t attribute);

// The same without colour: light red (and red) bold, light green (and green) underlined,
// everything else in the terminal's own colours.
Style MonochromeStyleOf(uint16_t attribute);

// Black on the default background: a cell that shows nothing. A terminal draws it as a
// blank, which looks empty on every theme and needs no colour at all.
constexpr bool Hidden(uint16_t attribute) {
  return (attribute & 0xFF) == 0;
}

// The SGR sequence that changes FROM into TO (empty when they are equal); FROM_KNOWN false
// means the terminal's colours are unknown and everything is set.
std::string StyleChange(const Style& from, bool from_known, const Style& to);

}  // namespace console::stream
