#include "console/stream/style.hpp"

#include <gtest/gtest.h>

#include <string>

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

TEST(StyleChange, OnlyWhatChanged) {
  const Style grey{7, -1}, red{12, -1}, green{10, -1}, blue_on_red{9, 12};
  EXPECT_EQ(StyleChange(Style{}, false, grey), "\x1b[0;37m");
  EXPECT_EQ(StyleChange(grey, true, red), "\x1b[91m");
  EXPECT_EQ(StyleChange(red, true, green), "\x1b[92m");
  EXPECT_EQ(StyleChange(blue_on_red, true, grey), "\x1b[0;37m") << "a reset is shorter here";
  EXPECT_EQ(StyleChange(grey, true, grey), "");
  EXPECT_EQ(StyleChange(red, true, Style{}), "\x1b[m");
  EXPECT_EQ(StyleChange(Style{}, true, Style{1, 4}), "\x1b[34;41m") << "blue on red";
  EXPECT_EQ(StyleChange(Style{}, true, blue_on_red), "\x1b[94;101m");
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
