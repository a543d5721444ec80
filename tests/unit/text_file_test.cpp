// The text files behind write statements: fields, pending I/O results and their check,
// and closing.
#include <climits>
#include <string>

#include "console_fixture.hpp"

namespace console::testing {
namespace {

using TextFile = ConsoleTest;

TEST_F(TextFile, FieldsAreRightAlignedAndNeverCut) {
  GOTOXY(1, 1);
  for (int32_t value : {5, -12, 12345}) WRITE_TEXT_SINT(4, OUTPUT, value);
  WRITE_TEXT_SINT(0, OUTPUT, 0);
  WRITE_TEXT_SINT(0, OUTPUT, INT32_MIN);
  WRITE_END(OUTPUT);
  EXPECT_EQ(Row(1, 1, 25),
            "   5 -1212345"
            "0-2147483648");

  GOTOXY(1, 2);
  Write("comparison", 25);
  EXPECT_EQ(Row(2, 1, 25), std::string(15, ' ') + "comparison");
  GOTOXY(1, 3);
  Write(std::string(30, 'z'), 25);
  EXPECT_EQ(Row(3, 1, 31), std::string(30, 'z') + " ");
  GOTOXY(1, 4);
  Write("", 25);
  EXPECT_EQ(Cursor(), (Coord{26, 4}));
}

// A number's field is whole wherever the buffer stands: near its end, across it, and wider
// than a narrow field.
TEST_F(TextFile, ANumberFieldIsWholeWhereverTheBufferStands) {
  GOTOXY(1, 1);
  WRITE_TEXT_ANSISTR(0, OUTPUT, std::string(250, 'x'));
  WRITE_TEXT_SINT(4, OUTPUT, -7);
  WRITE_TEXT_SINT(4, OUTPUT, 42);
  WRITE_TEXT_SINT(12, OUTPUT, 12345);
  WRITE_END(OUTPUT);
  EXPECT_EQ(Row(4, 1, 31), std::string(10, 'x') + "  -7  42       12345 ");
}

// A write to a file that is closed, or open for input, ends the run with the run-time
// error that says so, as the check after the write statement finds it.
TEST_F(TextFile, AWriteToAFileNotOpenForOutputIsARunTimeError) {
  TEXTREC closed;
  ASSIGNCRT(closed);
  for (const auto& [file, error] : {std::pair<TEXTREC*, int>{&closed, 103}, {&INPUT, 105}}) {
    EXPECT_EXIT((WRITE_TEXT_SINT(0, *file, 1), IOCHECK()), ::testing::ExitedWithCode(error), "");
    EXPECT_EXIT((WRITELN_END(*file), IOCHECK()), ::testing::ExitedWithCode(error), "");
  }
}

TEST_F(TextFile, PendingErrorStopsWritesButWriteEndStillFlushes) {
  GOTOXY(1, 1);
  WRITE_TEXT_ANSISTR(0, OUTPUT, "ok");
  INOUTRES = 103;
  WRITE_TEXT_ANSISTR(0, OUTPUT, "lost");
  WRITE_TEXT_SINT(0, OUTPUT, 7);
  WRITELN_END(OUTPUT);
  EXPECT_EQ(Row(1, 1, 3), "   ");
  WRITE_END(OUTPUT);
  EXPECT_EQ(Row(1, 1, 3), "ok ");
  EXPECT_EQ(Cursor(), (Coord{3, 1}));
  INOUTRES = 0;
}

TEST_F(TextFile, IocheckTurnsPendingResultIntoRunError) {
  EXPECT_EXIT(
      {
        INOUTRES = 105;
        IOCHECK();
      },
      ::testing::ExitedWithCode(105), "");
}

TEST_F(TextFile, ClosingOutputDrawsWaitingText) {
  GOTOXY(1, 1);
  WRITE_TEXT_ANSISTR(0, OUTPUT, "late");
  CloseText(OUTPUT);
  EXPECT_EQ(Row(1, 1, 4), "late");
  EXPECT_EQ(OUTPUT.mode, fmClosed);
}

}  // namespace
}  // namespace console::testing
