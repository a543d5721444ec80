#include "console/stream/style.hpp"

#include "console/stream/short_sequence.hpp"

namespace console::stream {
namespace {

// PC colour bits are blue 1, green 2, red 4; ANSI's are red 1, green 2, blue 4.
int AnsiOf(int pc) {
  return ((pc & 1) << 2) | (pc & 2) | ((pc & 4) >> 2);
}

// Adds CODE to the SGR parameters.
void Add(ShortSequence& params, int code) {
  if (params.size() > 0) params.Add(';');
  params.AddNumber(code);
}

// Adds the SGR parameters that change BASE into TO.
void AddChanges(ShortSequence& params, const Style& base, const Style& to) {
  if (to.bold != base.bold) Add(params, to.bold ? 1 : 22);
  if (to.underline != base.underline) Add(params, to.underline ? 4 : 24);
  if (to.foreground != base.foreground) {
    if (to.foreground < 0)
      Add(params, 39);
    else
      Add(params, (to.foreground & 8 ? 90 : 30) + AnsiOf(to.foreground & 7));
  }
  if (to.background != base.background) {
    if (to.background < 0)
      Add(params, 49);
    else
      Add(params, (to.background & 8 ? 100 : 40) + AnsiOf(to.background & 7));
  }
}

}  // namespace

Style StyleOf(uint16_t attribute) {
  const int foreground = attribute & 0x0F;
  const int background = (attribute >> 4) & 0x07;
  const bool bright_background = (attribute & 0x80) != 0;
  if (background == 0 && bright_background) return Style{};
  // Light grey is the console's normal text colour, which on a terminal is its own default
  // foreground: dark text on a light theme, as the user chose.
  constexpr int kNormalText = 7;
  Style style;
  style.foreground = static_cast<int8_t>(foreground == kNormalText ? -1 : foreground);
  if (background != 0)
    style.background = static_cast<int8_t>(background | (bright_background ? 8 : 0));
  return style;
}

Style MonochromeStyleOf(uint16_t attribute) {
  constexpr int kGreen = 2, kRed = 4;
  const int colour = attribute & 0x07;
  Style style;
  style.bold = colour == kRed;
  style.underline = colour == kGreen;
  return style;
}

std::string StyleChange(const Style& from, bool from_known, const Style& to) {
  if (from_known && from == to) return {};
  if (to == Style{}) return "\x1b[m";
  // From the defaults after a reset, or step by step from what is set, whichever is shorter.
  ShortSequence params;
  Add(params, 0);
  AddChanges(params, Style{}, to);
  if (from_known) {
    ShortSequence steps;
    AddChanges(steps, from, to);
    if (steps.size() <= params.size()) params = steps;
  }
  std::string sequence = "\x1b[";
  sequence += params.view();
  sequence += 'm';
  return sequence;
}

}  // namespace console::stream
