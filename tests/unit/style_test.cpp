#include "console/stream/style.hpp"

#include <gtest/gtest.h>
#include <vterm.h>

#include <string>
#include <vector>

#include "console/stream/cursor_motion.hpp"

namespace console::stream {
namespace {

TEST(StyleOf, PcColoursMapToAnsiWithDefaultBackground) {
  EXPECT_EQ(StyleOf(kDefaultColours), Style{});
  EXPECT_EQ(StyleOf(0x07), Style{}) << "normal text: the terminal's own foreground";
  EXPECT_EQ(StyleOf(0x17), (Style{-1, 1}));
  EXPECT_EQ(StyleOf(0x0C), (Style{12, -1}));
  EXPECT_EQ(StyleOf(0x10), (Style{0, 1}));
  EXPECT_EQ(StyleOf(0x9E), (Style{14, 9}));
  EXPECT_TRUE(Hidden(0x00)) << "black on the default background";
  EXPECT_FALSE(Hidden(0x80)) << "the terminal's own colours";
  EXPECT_FALSE(Hidden(0x10));
}

// STYLE as a terminal numbers its colours: red 1 and blue 4, where a PC has blue 1 and red 4.
Style Numbered(Style style) {
  for (int8_t* colour : {&style.foreground, &style.background})
    if (*colour > 0)
      *colour = static_cast<int8_t>((*colour & 0xA) | (*colour & 1) << 2 | (*colour & 4) >> 2);
  return style;
}

// What a terminal (libvterm) draws in after the bytes SEQUENCE: colours by its index, -1 for
// its own default.
Style DrawnAfter(VTerm* terminal, const std::string& sequence) {
  const std::string bytes = "\x1b[H" + sequence + "X";
  vterm_input_write(terminal, bytes.data(), bytes.size());
  VTermScreenCell cell{};
  vterm_screen_get_cell(vterm_obtain_screen(terminal), VTermPos{0, 0}, &cell);
  const auto index = [](const VTermColor& colour, bool own) {
    return static_cast<int8_t>(own                               ? -1
                               : VTERM_COLOR_IS_INDEXED(&colour) ? colour.indexed.idx
                                                                 : -2);
  };
  return Style{index(cell.fg, VTERM_COLOR_IS_DEFAULT_FG(&cell.fg)),
               index(cell.bg, VTERM_COLOR_IS_DEFAULT_BG(&cell.bg)), cell.attrs.bold != 0,
               cell.attrs.underline != 0};
}

// From every style to every other, in a real terminal: a change from colours unknown sets
// them all, a change from known ones gives the same and is never longer, and no change is
// no bytes.
TEST(StyleChange, ATerminalDrawsInTheStyleAskedFor) {
  std::vector<Style> styles;
  for (const int8_t foreground : {-1, 0, 4, 7, 9, 15})
    for (const int8_t background : {-1, 1, 8, 12})
      for (const int faces : {0, 1, 2, 3})
        styles.push_back(Style{foreground, background, (faces & 1) != 0, (faces & 2) != 0});
  VTerm* terminal = vterm_new(1, 4);
  vterm_obtain_screen(terminal);
  vterm_screen_reset(vterm_obtain_screen(terminal), 1);
  const Style anything{3, 5, true, true};
  for (const Style& from : styles) {
    for (const Style& to : styles) {
      const std::string unknown = StyleChange(from, false, to);
      const std::string known = StyleChange(from, true, to);
      SCOPED_TRACE(::testing::PrintToString(unknown) + " " + ::testing::PrintToString(known));
      EXPECT_EQ(DrawnAfter(terminal, StyleChange(Style{}, false, anything) + unknown),
                Numbered(to));
      EXPECT_EQ(DrawnAfter(terminal, StyleChange(Style{}, false, from) + known), Numbered(to));
      EXPECT_LE(known.size(), unknown.size());
      EXPECT_EQ(known.empty(), from == to);
    }
  }
  vterm_free(terminal);
}

// Only what changed is sent: one colour, one number.
TEST(StyleChange, OneColourChangedIsOneNumber) {
  EXPECT_EQ(StyleChange(Style{7, -1}, true, Style{12, -1}).size(), std::string("\x1b[91m").size());
  EXPECT_EQ(StyleChange(Style{12, -1}, true, Style{}).size(), std::string("\x1b[m").size());
}

// The longest sequences are built whole: a motion between the corners of the largest
// screen a console has, and the longest colour change.
TEST(ShortSequences, TheLongestAreWhole) {
  EXPECT_EQ(TerminalCursor({32766, 0, true, true}).MotionTo(32766, 32766).view(),
            "\x1b[32767;32767H");
  EXPECT_EQ(StyleChange(Style{}, false, Style{15, 15, true, true}), "\x1b[0;1;4;97;107m");
}

}  // namespace
}  // namespace console::stream
