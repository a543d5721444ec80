// The whole demonstration in a real terminal emulator, where only a terminal differs from
// the other platforms: counts per data set, windows of other heights, text that stays above
// the run, piped keys, and the terminal left as it was found.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <regex>

#include "pty_terminal.hpp"

namespace e2e {
namespace {

// Light grey, the normal text colour, is the terminal's own foreground (-1).
constexpr int kGrey = -1;

class Demo {
 public:
  explicit Demo(int rows = 25, std::string_view before = {}) : terminal(80, rows), rows_(rows) {
    terminal.Show(before);
    settings_before = terminal.Settings();
    terminal.Start(DEMO);
    EXPECT_TRUE(terminal.WaitForKeyWait()) << "the menu waits for a key";
  }
  // Types BYTES; true when the program then waits for a key again.
  bool Press(std::string_view bytes) {
    terminal.Type(bytes);
    return terminal.WaitForKeyWait();
  }
  bool AtFinalWait() const {
    const int row = terminal.CursorRow() - 1;
    return row >= 1 && terminal.Row(row).rfind("Total movings: ", 0) == 0;
  }
  int ReadTotal(const std::string& caption) const {
    std::smatch match;
    const std::regex pattern(caption + "(-?[0-9]+)");
    for (int row = 1; row <= rows(); ++row) {
      const std::string text = terminal.Row(row);
      if (std::regex_search(text, match, pattern)) return std::stoi(match[1]);
    }
    return -1;
  }
  int rows() const { return rows_; }
  int Exit() { return terminal.WaitExit(); }

  PtyTerminal terminal;
  termios settings_before{};

 private:
  int rows_ = 25;
};

struct Totals {
  int comparisons = -1, moves = -1, frames = 0, waits = 0;
};

// From the menu: the key, then Space at every step gate up to the final wait.
Totals RunToTheEnd(Demo& demo, std::string_view key) {
  Totals totals;
  EXPECT_TRUE(demo.Press(key));
  while (!demo.AtFinalWait() && totals.waits < 200) {
    ++totals.waits;
    // A frame ends with a line end; an array printout leaves the cursor after its fields.
    if (demo.terminal.CursorColumn() == 1) ++totals.frames;
    if (!demo.Press(" ")) break;
  }
  totals.comparisons = demo.ReadTotal("Total comparisons: ");
  totals.moves = demo.ReadTotal("Total movings: ");
  return totals;
}

struct TotalsCase {
  const char* key;
  Totals expected;
};

std::string KeyName(const TotalsCase& c) {
  const std::string key = c.key;
  return key == "\r" ? std::string("Enter") : "Key" + key;
}

void PrintTo(const TotalsCase& c, std::ostream* os) {
  *os << KeyName(c);
}

class TotalsPerDataSet : public ::testing::TestWithParam<TotalsCase> {};

TEST_P(TotalsPerDataSet, ComparisonsMovesFramesAndWaits) {
  Demo demo;
  const Totals got = RunToTheEnd(demo, GetParam().key);
  EXPECT_EQ(got.comparisons, GetParam().expected.comparisons);
  EXPECT_EQ(got.moves, GetParam().expected.moves);
  EXPECT_EQ(got.frames, GetParam().expected.frames);
  EXPECT_EQ(got.waits, GetParam().expected.waits);
  EXPECT_TRUE(demo.Press("\r") == false);
  const int status = demo.Exit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Demo, TotalsPerDataSet,
    ::testing::Values(TotalsCase{"1", {9, 0, 19, 30}}, TotalsCase{"2", {45, 45, 100, 111}},
                      TotalsCase{"3", {9, 0, 19, 30}}, TotalsCase{"4", {28, 21, 59, 70}},
                      TotalsCase{"5", {9, 0, 19, 30}}, TotalsCase{"\r", {9, 0, 19, 30}}),
    // Named by the menu key.
    [](const ::testing::TestParamInfo<TotalsCase>& param_info) {
      return KeyName(param_info.param);
    });

TEST(Demo, HiddenCellsAreBlanksWithNoColourOfTheirOwn) {
  Demo demo;
  ASSERT_TRUE(demo.Press("4"));
  ASSERT_TRUE(demo.Press(" "));
  // The selection frame of 44: its lower row hides 55 in the second cell.
  EXPECT_EQ(demo.terminal.Cell(8, demo.terminal.CursorRow() - 1).text, " ");
  EXPECT_EQ(demo.terminal.output().find("30m"), std::string::npos) << "no black";
  EXPECT_EQ(demo.terminal.output().find("\x1b[8"), std::string::npos) << "nothing concealed";
  EXPECT_EQ(demo.terminal.output().find("\x1b[6n"), demo.terminal.output().rfind("\x1b[6n"))
      << "one start-up wait";
}

void ExpectBreak(Demo& demo) {
  const int status = demo.Exit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 100);
  EXPECT_EQ(demo.terminal.Text(1, 24, 16), "breaking program");
  EXPECT_EQ(demo.terminal.Cell(1, 24).foreground, kGrey);
  EXPECT_EQ(demo.ReadTotal("Total comparisons: "), -1) << "no totals";
  const termios after = demo.terminal.Settings();
  EXPECT_EQ(after.c_lflag, demo.settings_before.c_lflag);
  EXPECT_EQ(after.c_iflag, demo.settings_before.c_iflag);
}

TEST(Demo, EscAtTheLastStepGate) {
  Demo demo;
  ASSERT_TRUE(demo.Press("1"));
  for (int i = 0; i < 29; ++i) ASSERT_TRUE(demo.Press(" "));
  EXPECT_EQ(demo.terminal.CursorColumn(), 41) << "the last printout";
  demo.terminal.Type("\x1b");
  ExpectBreak(demo);
}

TEST(Demo, LeftAltWithDAtTheMenuPassesTheFirstGate) {
  Demo demo;
  ASSERT_TRUE(
      demo.Press("\x1b"
                 "d"));
  EXPECT_EQ(demo.terminal.Text(41, 6, 5), "i = 1") << "the pending 32 advanced";
}

TEST(Demo, LeftAltWithRightBracketAtTheMenuAborts) {
  Demo demo;
  demo.terminal.Type("\x1b]");
  ExpectBreak(demo);
}

TEST(Demo, RunBelowTextThatStays) {
  Demo demo(25, "$ make\r\nbuilt\r\n$ ./insertion-sort-demo\r\n");
  EXPECT_EQ(demo.terminal.Row(1), "$ make");
  EXPECT_EQ(demo.terminal.Row(3), "$ ./insertion-sort-demo");
  EXPECT_EQ(demo.terminal.Row(4), "выбор массива");
  const Totals totals = RunToTheEnd(demo, "4");
  EXPECT_EQ(totals.comparisons, 28);
  EXPECT_EQ(totals.waits, 70);
}

TEST(Demo, TallWindowCreepsDownToTheBottom) {
  Demo demo(30);
  const Totals totals = RunToTheEnd(demo, "4");
  EXPECT_EQ(totals.comparisons, 28);
  EXPECT_EQ(totals.moves, 21);
  EXPECT_EQ(demo.terminal.CursorRow(), 30);
  EXPECT_EQ(demo.terminal.Row(29), "Total movings: 21");
}

TEST(Demo, ShortWindowWritesTheAbortWhereTheCursorIs) {
  Demo demo(20);
  const Totals totals = RunToTheEnd(demo, "2");
  EXPECT_EQ(totals.comparisons, 45);
  EXPECT_EQ(totals.waits, 111);

  // Row 24 is not in the window: the message goes where the cursor stands, here at the
  // start of the bottom row, and its line end scrolls it up one row.
  Demo aborted(20);
  ASSERT_TRUE(aborted.Press("4"));
  while (aborted.terminal.CursorRow() < 20 || aborted.terminal.CursorColumn() != 1)
    ASSERT_TRUE(aborted.Press(" "));
  aborted.terminal.Type("\x1b");
  const int status = aborted.Exit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 100);
  EXPECT_EQ(aborted.terminal.Row(19), "breaking program");
  EXPECT_EQ(aborted.terminal.CursorRow(), 20);
}

TEST(DemoFromAPipe, RunsFromPipedKeysIntoAFile) {
  PtyTerminal replay(80, 25);
  EXPECT_EQ(ReplayPipedRun(DEMO, "4" + std::string(70, ' ') + "done\\r", replay), 0);
  // The screen after the final Enter: its line end has scrolled once more.
  EXPECT_EQ(replay.Row(21), "i = 10");
  EXPECT_EQ(replay.Row(22), "   6  12  18  38  42  44  55  67  78  94Total comparisons: 28");
  EXPECT_EQ(replay.Row(23), "Total movings: 21");
  EXPECT_EQ(replay.Row(24), "done");
}

}  // namespace
}  // namespace e2e
