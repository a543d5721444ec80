// The console layer on a real terminal emulator: the key diagnostic and a drawing check.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <vterm.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "pty_terminal.hpp"

namespace e2e {
namespace {

class ConsoleKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    terminal.Show("$ console-keys\r\n");
    before = terminal.Settings();
    terminal.Start(CONSOLE_KEYS);
    ASSERT_TRUE(terminal.WaitForKeyWait());
  }
  // Types BYTES and returns the line the program printed for them.
  std::string Press(std::string_view bytes) {
    const int row = terminal.CursorRow();
    terminal.Type(bytes);
    EXPECT_TRUE(terminal.WaitForKeyWait());
    return terminal.Row(row);
  }

  PtyTerminal terminal{80, 25};
  termios before{};
};

// The keys of every platform are in tests/cases/platform.cases; these are a terminal's own.
TEST_F(ConsoleKeys, PrintsReadkeyResultsOfEachKey) {
  EXPECT_EQ(Press("\x1bOP"), "0 59");
  EXPECT_EQ(Press("\x1b[1;5C"), "0 116");
  EXPECT_EQ(Press("\x1b[24;2~"), "0 136");
  EXPECT_EQ(Press("\x1b]"), "0 27");
  EXPECT_EQ(Press("\x13"), "19") << "Ctrl+S reaches the program";
  EXPECT_EQ(Press("\x1b[?1;2c"
                  "q"),
            "113")
      << "an unasked reply is skipped";
}

TEST_F(ConsoleKeys, OutputStartsWhereTheCursorStood) {
  terminal.Type("1");
  ASSERT_TRUE(terminal.WaitForKeyWait());
  EXPECT_EQ(terminal.Row(1), "$ console-keys");
  EXPECT_EQ(terminal.Row(2), "49");
  EXPECT_EQ(terminal.CursorRow(), 3);
  EXPECT_EQ(terminal.CursorColumn(), 1);
}

TEST_F(ConsoleKeys, CtrlCEndsItAndRestoresTheTerminal) {
  EXPECT_FALSE(SameSettings(before, terminal.Settings())) << "raw mode while it runs";
  terminal.Type("\x03");
  const int status = terminal.WaitExit();
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGINT);
  EXPECT_TRUE(SameSettings(before, terminal.Settings()));
}

// rxvt-unicode's keypad in application mode, Num Lock off: the moves, not the digits; and its
// Shift+F3.
TEST(ConsoleKeysOnRxvt, KeypadKeysWithNumLockOffMove) {
  PtyTerminal terminal(80, 25);
  terminal.SetTerm("rxvt-unicode-256color");
  terminal.Start(CONSOLE_KEYS);
  ASSERT_TRUE(terminal.WaitForKeyWait());
  terminal.Type("\x1bOx\x1bOp\x1b[25~8");
  ASSERT_TRUE(terminal.WaitForKeyWait());
  EXPECT_EQ(terminal.Row(1), "0 72");
  EXPECT_EQ(terminal.Row(2), "0 82");
  EXPECT_EQ(terminal.Row(3), "0 86");
  EXPECT_EQ(terminal.Row(4), "56") << "with Num Lock on, the digit itself";
}

TEST(ConsoleKeysWithoutCursorReport, GoesOnFromTheBottomRow) {
  PtyTerminal terminal(80, 25);
  terminal.AnswerQueries(false);
  terminal.Show("$ console-keys\r\n");
  terminal.Start(CONSOLE_KEYS);
  ASSERT_TRUE(terminal.WaitForKeyWait()) << "the wait for an answer is bounded";
  EXPECT_EQ(terminal.output().find("\x1b[6n"), terminal.output().rfind("\x1b[6n")) << "asked once";
  terminal.Type("a");
  ASSERT_TRUE(terminal.WaitForKeyWait());
  EXPECT_EQ(terminal.Row(24), "97");
  EXPECT_EQ(terminal.CursorRow(), 25);
  ASSERT_EQ(terminal.scrollback().size(), 1u) << "the line end on the bottom row scrolled";
  EXPECT_EQ(terminal.scrollback()[0], "$ console-keys");
}

TEST(ConsoleKeysFromAPipe, KeysFromTheStreamAndOutputThatReplays) {
  PtyTerminal replay(80, 25);
  EXPECT_EQ(ReplayPipedRun(CONSOLE_KEYS, "a\\033[Bz\\n", replay), 0) << "end of input ends it";
  EXPECT_EQ(replay.Row(1), "97");
  EXPECT_EQ(replay.Row(2), "0 80");
  EXPECT_EQ(replay.Row(3), "122");
  EXPECT_EQ(replay.Row(4), "13") << "LF ends a line in a byte stream";
}

class DrawCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    terminal.Show("$ one\r\n$ two\r\n$ ");
    before = terminal.Settings();
    terminal.Start(DRAW_SAMPLE);
    ASSERT_TRUE(terminal.WaitForKeyWait());
  }
  PtyTerminal terminal{80, 25};
  termios before{};
};

TEST_F(DrawCheck, CharactersColoursAndWrapping) {
  EXPECT_EQ(terminal.Row(3), "$ plain");
  EXPECT_EQ(terminal.Cell(3, 3).foreground, -1) << "the terminal's own colours at start";
  EXPECT_EQ(terminal.Row(4), "redgreen   grey") << "hidden cells are blanks";
  EXPECT_EQ(terminal.Cell(1, 4).foreground, 9) << "PC 12 is ANSI bright red";
  EXPECT_EQ(terminal.Cell(4, 4).foreground, 10);
  EXPECT_EQ(terminal.Cell(12, 4).foreground, -1) << "light grey is the terminal's foreground";
  EXPECT_EQ(terminal.Cell(12, 4).background, -1) << "the background is never set";
  EXPECT_EQ(terminal.Row(5), "\u263A\u25CB\u2302\u0434\u0440\u042F");
  EXPECT_EQ(terminal.Row(6), std::string(80, 'w'));
  EXPECT_EQ(terminal.Row(7), "wwwww");
  EXPECT_EQ(terminal.CursorRow(), 8);
  EXPECT_EQ(terminal.CursorColumn(), 1);
  EXPECT_EQ(terminal.output().find("\x1b[2J"), std::string::npos);
  EXPECT_EQ(terminal.output().find("\x1b[?1049h"), std::string::npos);
}

TEST_F(DrawCheck, BottomRightCellScrollsIntoScrollback) {
  terminal.Type(" ");
  ASSERT_TRUE(terminal.WaitForKeyWait());
  EXPECT_EQ(terminal.Text(80, 24, 1), "Z");
  EXPECT_EQ(terminal.Row(25), "");
  EXPECT_EQ(terminal.CursorRow(), 25);
  EXPECT_EQ(terminal.CursorColumn(), 1);
  ASSERT_EQ(terminal.scrollback().size(), 1u);
  EXPECT_EQ(terminal.scrollback()[0], "$ one");
  EXPECT_EQ(terminal.Row(1), "$ two");

  terminal.Type(" ");
  const int status = terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(SameSettings(before, terminal.Settings()));
  const std::string& output = terminal.output();
  ASSERT_NE(output.rfind("\x1b[m"), std::string::npos);
  EXPECT_EQ(output.find('m', output.rfind("\x1b[m") + 3), std::string::npos)
      << "the terminal's colours are reset at the end, no colour after";
}

}  // namespace
}  // namespace e2e
