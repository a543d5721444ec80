// What the screen writer sends, played into a real terminal emulator, shows exactly the
// cells that were drawn: characters, colours, and the cursor where it was put, however the
// cells were regrouped by colour on the way; and it takes no more bytes than it did.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "console/posix/charset.hpp"
#include "console/stream/screen_writer.hpp"
#include "pty_terminal.hpp"

namespace e2e {
namespace {

using console::stream::kDefaultColours;
using console::stream::ScreenWriter;

constexpr int kColumns = 80, kRows = 25;

// The attributes drawn, and the palette indices the terminal shows them in (-1: its own
// default colour).
struct Colours {
  uint16_t attribute;
  int foreground;
  int background;
};
constexpr Colours kColours[] = {
    {0x07, -1, -1},  // light grey: the terminal's own foreground
    {0x0C, 9, -1},   // light red
    {0x0A, 10, -1},  // light green
    {0x00, -1, -1},  // black, hidden: a blank
    {0x87, -1, -1},  // the terminal's defaults
    {0x17, -1, 4},   // light grey on blue
};

struct ModelCell {
  uint8_t code = ' ';
  const Colours* colours = &kColours[4];
};

TEST(ScreenWriterInAnEmulator, RandomDrawingsShowExactly) {
  const auto charset = console::posix::LoadCharset("UTF-8");
  std::mt19937 random(20261207);
  const uint8_t codes[] = {' ', ' ', ' ', '0', '4', '9', 'a', 'z', 0xA4, 7};
  // Light grey and black twice as often as the others.
  const int picks[] = {0, 0, 1, 2, 3, 3, 4, 5};
  for (int round = 0; round < 20; ++round) {
    PtyTerminal terminal(kColumns, kRows);
    ScreenWriter writer(kColumns, kRows, charset.glyphs);
    writer.AssumeCursor(0, 0);
    std::vector<std::vector<ModelCell>> model(kRows, std::vector<ModelCell>(kColumns));
    for (int batch = 0; batch < 30; ++batch) {
      const int draws = std::uniform_int_distribution<>(1, 120)(random);
      for (int n = 0; n < draws; ++n) {
        if (random() % 40 == 0) {
          // The whole screen mostly, a region of it now and then, with cells held across it.
          const bool whole = random() % 4 != 0;
          const int top = whole ? 0 : static_cast<int>(random() % (kRows - 1));
          const int bottom =
              whole ? kRows - 1 : top + 1 + static_cast<int>(random() % (kRows - 1 - top));
          writer.ScrollUp(top, bottom, console::stream::kDefaultColours);
          model.erase(model.begin() + top);
          model.insert(model.begin() + bottom, std::vector<ModelCell>(kColumns));
          continue;
        }
        // Mostly runs along a row, as text is written; now and then anywhere.
        const int y = static_cast<int>(random() % kRows);
        int x = static_cast<int>(random() % kColumns);
        const Colours& colours = kColours[picks[random() % std::size(picks)]];
        for (int run = static_cast<int>(random() % 12); run >= 0 && x < kColumns; --run, ++x) {
          const uint8_t code = codes[random() % std::size(codes)];
          writer.PutCell(x, y, code, colours.attribute);
          model[y][x] = ModelCell{colours.attribute == 0x00 ? uint8_t{' '} : code, &colours};
        }
      }
      const int cursor_x = static_cast<int>(random() % kColumns);
      const int cursor_y = static_cast<int>(random() % kRows);
      terminal.Show(writer.TakeFrame(
          console::Coord{static_cast<int16_t>(cursor_x), static_cast<int16_t>(cursor_y)}, false));

      ASSERT_EQ(terminal.CursorColumn(), cursor_x + 1) << "round " << round << " batch " << batch;
      ASSERT_EQ(terminal.CursorRow(), cursor_y + 1);
      for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
          const ModelCell& want = model[y][x];
          const ScreenCell got = terminal.Cell(x + 1, y + 1);
          ASSERT_EQ(got.text, charset.glyphs[want.code])
              << "cell " << x + 1 << "," << y + 1 << " round " << round << " batch " << batch;
          ASSERT_EQ(got.background, want.colours->background) << "cell " << x + 1 << "," << y + 1;
          // A blank looks the same in any foreground colour.
          if (want.code != ' ') {
            ASSERT_EQ(got.foreground, want.colours->foreground) << "cell " << x + 1 << "," << y + 1;
          }
        }
      }
    }
  }
}

// A writer whose every frame is played on an emulator's screen: what a test draws must show
// there, in no more bytes than the bound it gives.
class Replayed : public ::testing::Test {
 protected:
  Replayed()
      : charset(console::posix::LoadCharset("UTF-8")), writer(kColumns, kRows, charset.glyphs) {}
  // Sends the frame, the cursor left at (X, Y), and checks that it took at most MOST bytes
  // and left the cursor there.
  void Frame(int x, int y, std::size_t most, const std::string& what) {
    const std::string bytes =
        writer.TakeFrame(console::Coord{static_cast<int16_t>(x), static_cast<int16_t>(y)}, false);
    terminal.Show(bytes);
    EXPECT_LE(bytes.size(), most) << what << ": " << ::testing::PrintToString(bytes);
    EXPECT_EQ(terminal.CursorColumn(), x + 1) << what;
    EXPECT_EQ(terminal.CursorRow(), y + 1) << what;
  }
  // The text of screen row Y (from 0), trailing blanks left out.
  std::string Row(int y) { return terminal.Row(y + 1); }
  ScreenCell Cell(int x, int y) { return terminal.Cell(x + 1, y + 1); }

  console::posix::TerminalCharset charset;
  ScreenWriter writer;
  PtyTerminal terminal{kColumns, kRows};
};

TEST_F(Replayed, CellsShowInTheirColoursWithFewBytes) {
  writer.AssumeCursor(0, 0);
  for (int x = 0; x < 3; ++x) writer.PutCell(x, 0, static_cast<uint8_t>('a' + x), 0x07);
  Frame(3, 0, 7, "a run needs no motion and one colour code");
  writer.PutCell(3, 0, 'd', 0x07);
  Frame(4, 0, 1, "nor does a cell after it");
  writer.ForgetColours();  // after a stop the shell may have left any colour set
  writer.PutCell(4, 0, 'e', 0x07);
  Frame(5, 0, 4, "the colour in full once it is not known");
  // Colour by colour, a blank standing in for the other's cell; hidden cells are blanks in
  // any colour; the last drawing of a cell shows.
  const char* const row1 = "abc4567";
  const uint16_t attributes[] = {0x07, 0x0C, 0x07, 0x07, 0x00, 0x0C, 0x00};
  for (int x = 0; x < 7; ++x) writer.PutCell(x, 1, static_cast<uint8_t>(row1[x]), attributes[x]);
  writer.PutCell(9, 1, 'x', 0x07);
  writer.PutCell(9, 1, 'y', 0x0A);
  Frame(10, 1, 33, "two colours and the blanks between");
  EXPECT_EQ(Row(1), "abc4 6   y");
  EXPECT_EQ(Cell(1, 1).foreground, 9);
  EXPECT_EQ(Cell(5, 1).foreground, 9);
  EXPECT_EQ(Cell(9, 1).foreground, 10);
  EXPECT_EQ(Cell(3, 1).foreground, -1);
  writer.PutCell(0, 2, 9, kDefaultColours);
  writer.PutCell(1, 2, 0xA4, kDefaultColours);
  writer.PutCell(2, 2, 127, kDefaultColours);
  Frame(3, 2, 13, "a control code, Cyrillic and 127 as glyphs");
  EXPECT_EQ(Row(2), "\u25CB\u0434\u2302");
  writer.PutCell(0, 3, ' ', 0x17);
  Frame(1, 3, 9, "a blank on another background takes it");
  EXPECT_EQ(Cell(0, 3).background, 4);
}

TEST_F(Replayed, WithoutColoursLargerIsBoldNotLargerUnderlinedAndBlanksPlain) {
  writer.SetMonochrome(true);
  writer.AssumeCursor(0, 0);
  const uint16_t attributes[] = {0x0C, 0x0C, 0x0A, 0x0A, 0x07, 0x17};
  const char* const text = " 5 47 ";
  for (int x = 0; x < 6; ++x) writer.PutCell(x, 0, static_cast<uint8_t>(text[x]), attributes[x]);
  Frame(6, 0, 22, "no colour");
  // A blank looks the same bold or not, but would show a line.
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(Cell(x, 0).foreground, -1);
    EXPECT_EQ(Cell(x, 0).background, -1);
    if (text[x] != ' ') {
      EXPECT_EQ(Cell(x, 0).bold, x == 1) << x;
    }
    EXPECT_EQ(Cell(x, 0).underline, x == 3) << "no line under a blank: " << x;
  }
}

TEST_F(Replayed, TheCursorTakesTheCheapestMotion) {
  terminal.Show("\x1b[6;11H");
  writer.AssumeCursor(10, 5);
  const struct {
    int x, y;
    std::size_t most;
  } moves[] = {{0, 6, 2}, {0, 6, 0}, {5, 6, 4}, {40, 4, 8}, {38, 3, 4}, {2, 4, 6}, {4, 20, 8}};
  for (const auto& move : moves) {
    writer.MoveTo(move.x, move.y);
    Frame(move.x, move.y, move.most,
          "a move to " + std::to_string(move.x) + "," + std::to_string(move.y));
  }
  writer.AssumeCursor(-1, -1);
  Frame(0, 0, 3, "from an unknown place, an absolute move");
}

TEST_F(Replayed, TheLastColumnLeavesAWrapPendingThatIsNeverCarriedOut) {
  terminal.Show("\x1b[4H");
  writer.AssumeCursor(0, 3);
  writer.PutCell(79, 3, 'x', kDefaultColours);
  writer.PutCell(0, 4, 'y', kDefaultColours);
  writer.PutCell(79, 4, 'w', kDefaultColours);
  writer.PutCell(79, 4, 'z', kDefaultColours);
  Frame(0, 5, 20, "the last column twice, then the next row");
  EXPECT_EQ(Cell(79, 3).text, "x");
  EXPECT_EQ(Row(4), "y" + std::string(78, ' ') + "z");
  EXPECT_EQ(Row(5), "") << "no wrap carried out";
}

// A line written on the bottom row, then its line end: the line goes out as itself before
// the terminal's own scroll, as each answer of console-keys does.
TEST_F(Replayed, ALineWrittenOnTheBottomRowGoesOutAsItself) {
  terminal.Show("\x1b[25H");
  writer.AssumeCursor(0, 24);
  writer.ResetColours();
  terminal.Show(writer.TakeBytes());
  for (const char* line : {"97", "0 72"}) {
    writer.PutCells(0, 24, reinterpret_cast<const uint8_t*>(line),
                    static_cast<int>(std::strlen(line)), kDefaultColours);
    writer.ScrollUp(0, 24, kDefaultColours);
    Frame(0, 24, std::strlen(line) + 2, line);
    EXPECT_EQ(Row(23), line);
    EXPECT_EQ(Row(24), "");
  }
  // A cell drawn on the top row goes out before it leaves the screen.
  writer.PutCell(5, 0, 't', kDefaultColours);
  writer.ScrollUp(0, 24, kDefaultColours);
  writer.PutCell(6, 0, 'u', kDefaultColours);
  Frame(0, 24, 25, "t, then the scroll, then u");
  EXPECT_EQ(Row(0), "      u");
}

// The whole screen scrolls by a line feed on the bottom row, a region by a scrolling region;
// a move the terminal cannot make is drawn again.
TEST_F(Replayed, MovesOfTheScreenShowAsTheLayerMadeThem) {
  writer.AssumeCursor(0, 0);
  for (int y = 0; y < kRows; ++y) {
    const std::string text = "row " + std::to_string(y);
    writer.PutCells(0, y, reinterpret_cast<const uint8_t*>(text.data()),
                    static_cast<int>(text.size()), kDefaultColours);
  }
  Frame(0, 0, 400, "the rows");
  writer.ScrollUp(0, 24, kDefaultColours);
  Frame(0, 24, 6, "the whole screen");
  writer.ScrollUp(0, 24, 0x07);
  Frame(0, 24, 1, "again, the fill's foreground, which a blank does not show, left as it is");
  EXPECT_EQ(Row(0), "row 2");
  EXPECT_EQ(Row(24), "");
  writer.ScrollUp(2, 10, kDefaultColours);
  Frame(0, 0, 16, "a region");
  EXPECT_EQ(Row(1), "row 3");
  EXPECT_EQ(Row(2), "row 5");
  EXPECT_EQ(Row(10), "");
  EXPECT_EQ(Row(11), "row 13");
  // Rows 3 to 5, columns 0 to 4, two columns to the right and one row down.
  writer.ScrollRect(console::Rect{0, 3, 4, 5}, console::Rect{0, 0, 79, 24}, console::Coord{2, 4},
                    ' ', kDefaultColours);
  Frame(0, 0, 100, "a rectangle");
  EXPECT_EQ(Row(3), "");
  EXPECT_EQ(Row(4), "  row 6");
  EXPECT_EQ(Row(5), "  row 7");
  EXPECT_EQ(Row(6), "rorow 8");
  EXPECT_EQ(Row(7), "row 10");
}

}  // namespace
}  // namespace e2e
