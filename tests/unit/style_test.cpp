#include "console/stream/screen_writer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/posix/charset.hpp"
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

// The writer chooses between motions by their counted sizes: each count is the size of the
// bytes that would be built, from any cursor to any cell of a window 200 rows tall.
TEST(CursorMotion, ItsCountedSizeIsTheSizeOfTheBytesBuilt) {
  std::vector<TerminalCursor> cursors{{0, 0, false, false}, {79, 24, true, true}};
  for (int x : {0, 1, 3, 4, 9, 10, 40, 79})
    for (int y : {0, 1, 2, 3, 8, 9, 99, 199}) cursors.push_back({x, y, true, false});
  for (const TerminalCursor& from : cursors) {
    for (int y = 0; y < 200; ++y) {
      for (int x = 0; x < 80; ++x) {
        ASSERT_EQ(from.MotionSize(x, y), from.MotionTo(x, y).size())
            << "from " << from.x << "," << from.y << (from.known ? "" : " (unknown)")
            << (from.pending_wrap ? " (wrap pending)" : "") << " to " << x << "," << y << ": "
            << ::testing::PrintToString(std::string(from.MotionTo(x, y).view()));
      }
    }
  }
}

class Writer : public ::testing::Test {
 protected:
  Writer() : charset(posix::LoadCharset("UTF-8")), writer(80, 25, charset.glyphs) {}
  std::string Take() {
    writer.Settle();
    return writer.TakeBytes();
  }
  posix::TerminalCharset charset;
  ScreenWriter writer;
};

TEST_F(Writer, RunOfCellsNeedsNoMotionAndOneColourCode) {
  writer.AssumeCursor(0, 0);
  for (int x = 0; x < 3; ++x) writer.PutCell(x, 0, static_cast<uint8_t>('a' + x), 0x07);
  EXPECT_EQ(Take(), "\x1b[mabc");
  writer.PutCell(3, 0, 'd', 0x07);
  EXPECT_EQ(Take(), "d");
  // After a stop the shell may have left any colour set.
  writer.ForgetColours();
  writer.PutCell(4, 0, 'e', 0x07);
  EXPECT_EQ(Take(), "\x1b[me");
}

TEST_F(Writer, CheapestMotion) {
  writer.AssumeCursor(10, 5);
  writer.MoveTo(0, 6);
  EXPECT_EQ(Take(), "\r\n");
  writer.MoveTo(0, 6);
  EXPECT_EQ(Take(), "");
  writer.MoveTo(5, 6);
  EXPECT_EQ(Take(), "\x1b[5C");
  writer.MoveTo(40, 4);
  EXPECT_EQ(Take(), "\x1b[5;41H") << "shorter than CUU and CUF";
  writer.MoveTo(38, 3);
  EXPECT_EQ(Take(), "\x1bM\b\b") << "reverse index is one row up";
  writer.MoveTo(2, 4);
  EXPECT_EQ(Take(), "\r\n\x1b[2C") << "by way of the start of the row";
  writer.MoveTo(4, 20);
  EXPECT_EQ(Take(), "\x1b[21;5H");
  writer.AssumeCursor(-1, -1);
  writer.MoveTo(0, 0);
  EXPECT_EQ(Take(), "\x1b[H") << "from an unknown place only an absolute move will do";
}

TEST_F(Writer, LastColumnLeavesAWrapPendingThatOnlyCrOrAbsoluteMovesCancel) {
  writer.AssumeCursor(79, 3);
  writer.PutCell(79, 3, 'x', kDefaultColours);
  writer.PutCell(0, 4, 'y', kDefaultColours);
  EXPECT_EQ(Take(), "\x1b[mx\r\ny");
  writer.AssumeCursor(79, 3);
  writer.PutCell(79, 3, 'w', kDefaultColours);
  EXPECT_EQ(Take(), "w");
  writer.PutCell(79, 3, 'z', kDefaultColours);
  EXPECT_EQ(Take(), "\r\x1b[79Cz") << "rewriting the last column must not wrap";
}

TEST_F(Writer, CellsGoOutColourByColourWithBlanksStandingInForTheOthers) {
  writer.AssumeCursor(0, 0);
  writer.PutCell(0, 0, 'a', 0x07);
  writer.PutCell(1, 0, 'b', 0x0C);
  writer.PutCell(2, 0, 'c', 0x07);
  EXPECT_EQ(Take(), "\x1b[ma c\x1b[91m\b\bb");
}

TEST_F(Writer, HiddenCellsAreBlanksInAnyColour) {
  writer.AssumeCursor(0, 0);
  writer.PutCell(0, 0, '4', 0x07);
  writer.PutCell(1, 0, '5', 0x00);
  writer.PutCell(2, 0, '6', 0x0C);
  writer.PutCell(3, 0, '7', 0x00);
  EXPECT_EQ(Take(), "\x1b[m4 \x1b[91m6 ");
}

TEST_F(Writer, WithoutColoursLargerIsBoldNotLargerUnderlinedAndBlanksPlain) {
  writer.SetMonochrome(true);
  writer.AssumeCursor(0, 0);
  writer.PutCell(0, 0, ' ', 0x0C);
  writer.PutCell(1, 0, '5', 0x0C);
  writer.PutCell(2, 0, ' ', 0x0A);
  writer.PutCell(3, 0, '4', 0x0A);
  writer.PutCell(4, 0, '7', 0x07);
  writer.PutCell(5, 0, ' ', 0x17);
  EXPECT_EQ(Take(), "\x1b[0;1m 5 \x1b[0;4m4\x1b[m7 ") << "no colour, and no line under a blank";
}

TEST_F(Writer, BlanksTakeWhateverColourIsSet) {
  writer.AssumeCursor(0, 0);
  writer.PutCell(0, 0, 'a', 0x07);
  writer.PutCell(1, 0, ' ', 0x0C);
  writer.PutCell(2, 0, ' ', 0x00);
  writer.PutCell(3, 0, 'd', 0x07);
  EXPECT_EQ(Take(), "\x1b[ma  d") << "no colour code for the blanks";
  writer.PutCell(0, 1, ' ', 0x17);
  EXPECT_EQ(Take(), "\x1b[44m\r\n ") << "a blank on another background needs it";
}

TEST_F(Writer, TheLastDrawingOfACellShows) {
  writer.AssumeCursor(0, 0);
  writer.PutCell(0, 0, 'a', 0x07);
  writer.PutCell(0, 0, 'b', 0x0C);
  writer.PutCell(1, 0, 'c', 0x0C);
  EXPECT_EQ(Take(), "\x1b[0;91mbc");
}

TEST_F(Writer, HeldCellsGoUpWithTheScrollAndTheTopRowsAreSentBeforeIt) {
  writer.AssumeCursor(0, 24);
  writer.PutCell(0, 24, 'a', kDefaultColours);
  writer.ScrollUp(0, 24, kDefaultColours);
  writer.PutCell(0, 24, 'b', kDefaultColours);
  EXPECT_EQ(Take(), "\x1b[m\n\x1bMa\r\nb") << "a, drawn on row 25, is sent on row 24";
  writer.PutCell(5, 0, 't', kDefaultColours);
  writer.ScrollUp(0, 24, kDefaultColours);
  EXPECT_EQ(Take(), "\x1b[1;6Ht\x1b[25H\n") << "t is sent before it leaves the screen";
}

TEST_F(Writer, ControlCodesAndCyrillicAreGlyphs) {
  writer.AssumeCursor(0, 0);
  writer.PutCell(0, 0, 9, kDefaultColours);
  writer.PutCell(1, 0, 1, kDefaultColours);
  writer.PutCell(2, 0, 0xA4, kDefaultColours);
  writer.PutCell(3, 0, 127, kDefaultColours);
  EXPECT_EQ(Take(), "\x1b[m\u25CB\u263A\u0434\u2302");
}

TEST_F(Writer, WholeScreenScrollIsALineFeedOnTheBottomRow) {
  writer.AssumeCursor(12, 24);
  writer.ScrollUp(0, 24, kDefaultColours);
  EXPECT_EQ(Take(), "\x1b[m\r\n");
  writer.ScrollUp(0, 24, 0x07);
  EXPECT_EQ(Take(), "\n") << "the foreground of the fill does not matter";
}

TEST_F(Writer, PartialScrollUsesARegion) {
  writer.AssumeCursor(0, 0);
  writer.ScrollUp(2, 10, kDefaultColours);
  EXPECT_EQ(Take(), "\x1b[m\x1b[3;11r\x1b[10B\n\x1b[r");
}

}  // namespace
}  // namespace console::stream
