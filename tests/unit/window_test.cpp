#include <string>

#include "console/window_copy.hpp"
#include "console_fixture.hpp"

namespace console::testing {
namespace {

using Window = ConsoleTest;

// Wherever the window lies in the screen buffer; text in the console's attribute.
TEST_F(Window, IsTheVisibleRectangleOfTheConsoleInItsAttribute) {
  Open(100, 300, Rect{10, 50, 89, 74}, 0x1E);
  GOTOXY(1, 1);
  Write("a");
  GOTOXY(79, 25);
  Write("z");
  EXPECT_EQ(screen->At(10, 50).character, 'a');
  EXPECT_EQ(screen->At(10, 50).attribute, 0x1E);
  EXPECT_EQ(screen->At(88, 74).character, 'z');
}

TEST_F(Window, GotoxyOutsideTheWindowChangesNothing) {
  GOTOXY(10, 7);
  for (auto [x, y] : {std::pair{0, 5}, {5, 0}, {81, 5}, {5, 26}}) {
    GOTOXY(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
    EXPECT_EQ(Cursor(), (Coord{10, 7})) << x << "," << y;
  }
  GOTOXY(80, 25);
  EXPECT_EQ(Cursor(), (Coord{80, 25}));
}

TEST_F(Window, CharacterInBottomRightCellScrollsAtOnce) {
  GOTOXY(1, 1);
  Write("top");
  GOTOXY(1, 2);
  Write("second");
  GOTOXY(80, 25);
  TEXTCOLOR(12);
  Write("x");
  EXPECT_EQ(At(80, 24).character, 'x');
  EXPECT_EQ(At(80, 24).attribute, 0x0C);
  EXPECT_EQ(Row(1, 1, 6), "second");
  EXPECT_EQ(Row(25), std::string(80, ' '));
  EXPECT_EQ(At(1, 25).attribute, 0x0C) << "the new row is blank in the current attribute";
  EXPECT_EQ(Cursor(), (Coord{1, 25}));
  EXPECT_EQ(WHEREY(), 25);
}

TEST_F(Window, FullRowWrapsWithoutPendingState) {
  GOTOXY(1, 10);
  Write(std::string(80, 'a'));
  EXPECT_EQ(Cursor(), (Coord{1, 11}));
  WriteLn();
  EXPECT_EQ(Row(11), std::string(80, ' '));
  EXPECT_EQ(Cursor(), (Coord{1, 12}));
}

TEST_F(Window, LineEndsOnBottomRowScrollEachTime) {
  for (int y = 1; y <= 25; ++y) {
    GOTOXY(1, static_cast<uint8_t>(y));
    Write("row" + std::to_string(y));
  }
  GOTOXY(1, 25);
  for (int i = 0; i < 4; ++i) WriteLn();
  EXPECT_EQ(WHEREY(), 25);
  EXPECT_EQ(Row(1, 1, 4), "row5");
  EXPECT_EQ(Row(21, 1, 5), "row25");
  EXPECT_EQ(Row(22, 1, 5), "     ");
}

TEST_F(Window, ControlCodes) {
  GOTOXY(1, 3);
  Write("ab\nc");
  EXPECT_EQ(Row(3, 1, 2), "ab");
  EXPECT_EQ(At(3, 4).character, 'c') << "LF keeps the column";
  GOTOXY(1, 6);
  Write("hello\rJ");
  EXPECT_EQ(Row(6, 1, 5), "Jello") << "CR returns to the left column of the same row";
  GOTOXY(1, 8);
  Write("\bA\bB\x07");
  EXPECT_EQ(Row(8, 1, 2), "B ")
      << "BS in the left column does nothing, elsewhere it does not erase";
  EXPECT_EQ(Cursor(), (Coord{2, 8})) << "BEL changes nothing";
  Write("\t");
  EXPECT_EQ(At(2, 8).character, 9) << "Tab is one cell like a letter";
  EXPECT_EQ(Cursor(), (Coord{3, 8}));
}

TEST_F(Window, TextcolorKeepsBackgroundAndClearsItsIntensity) {
  TEXTATTR = 0x17;
  TEXTCOLOR(12);
  EXPECT_EQ(TEXTATTR, 0x1C);
  TEXTATTR = 0xF0;
  TEXTCOLOR(7);
  EXPECT_EQ(TEXTATTR, 0x77);
  TEXTCOLOR(0x8A);
  EXPECT_EQ(TEXTATTR, 0xFA);
}

TEST_F(Window, LongStatementIsDrawnWholeAndInOrder) {
  std::string text;
  for (int i = 0; i < 300; ++i) text.push_back(static_cast<char>('a' + i % 26));
  GOTOXY(1, 1);
  WRITE_TEXT_ANSISTR(0, OUTPUT, text.substr(0, 100));
  WRITE_TEXT_ANSISTR(0, OUTPUT, text.substr(100));
  WRITELN_END(OUTPUT);
  EXPECT_EQ(Row(1) + Row(2) + Row(3) + Row(4, 1, 60), text);
  EXPECT_EQ(Cursor(), (Coord{1, 5}));
}

TEST_F(Window, ScrollingTouchesOnlyTheWindow) {
  Open(100, 40, Rect{5, 3, 84, 27}, 0x07);
  screen->At(2, 10).character = 'L';   // left of the window
  screen->At(90, 10).character = 'R';  // right of it
  screen->At(10, 1).character = 'T';   // above
  screen->At(10, 35).character = 'B';  // below
  GOTOXY(1, 1);
  Write("gone");
  GOTOXY(1, 2);
  Write("stays");
  GOTOXY(1, 25);
  WriteLn("bottom");
  EXPECT_EQ(Row(1, 1, 5), "stays");
  EXPECT_EQ(Row(24, 1, 6), "bottom");
  EXPECT_EQ(screen->At(2, 10).character, 'L');
  EXPECT_EQ(screen->At(90, 10).character, 'R');
  EXPECT_EQ(screen->At(10, 1).character, 'T');
  EXPECT_EQ(screen->At(10, 35).character, 'B');
  EXPECT_EQ(WHEREY(), 25);
}

// The layer's copy of its window is what the console shows, through every way the layer
// draws (a run, a wrap, a scroll, a line removed, a line read's echo), and showing a copy
// taken earlier puts that screen back, cell for cell, with its cursor.
TEST_F(Window, ItsCopyIsWhatTheConsoleShowsAndPutsAnEarlierScreenBack) {
  Open(100, 40, Rect{7, 4, 86, 28}, 0x1E);
  KeepWindowCopy();
  auto shown = [&] {
    WindowScreen now{{}, screen->cursor()};
    for (int y = 4; y <= 28; ++y)
      for (int x = 7; x <= 86; ++x)
        now.cells.push_back(
            static_cast<uint16_t>(screen->At(x, y).character | screen->At(x, y).attribute << 8));
    return now;
  };
  auto same = [](const WindowScreen& a, const WindowScreen& b) {
    return a.cells == b.cells && a.cursor.x == b.cursor.x && a.cursor.y == b.cursor.y;
  };
  GOTOXY(70, 3);
  TEXTCOLOR(12);
  Write(std::string(15, 'w') + "\x07x\by");  // wraps; BEL and BS draw nothing
  GOTOXY(1, 24);
  TEXTCOLOR(10);
  WriteLn("next to last");
  Write("last\r\nscrolled");
  REMOVELINE(5);
  const WindowScreen before = TakeWindowScreen();
  EXPECT_TRUE(same(before, shown()));

  GOTOXY(1, 25);
  TEXTCOLOR(14);
  for (int i = 0; i < 3; ++i) WriteLn("three more scrolls");
  // A line read echoes its keys one by one, rubs one out, and scrolls at its end.
  for (const auto& [scan, ch] : {std::pair{30, 'a'}, {48, 'b'}, {14, '\b'}, {46, 'c'}, {28, '\r'}})
    screen->PushKey(MakeKey(static_cast<uint16_t>(scan), static_cast<uint8_t>(ch), 0, 0));
  READLN_END(INPUT);
  const WindowScreen after = TakeWindowScreen();
  EXPECT_TRUE(same(after, shown()));
  ShowWindowScreen(before);
  EXPECT_TRUE(same(before, shown()));
  ShowWindowScreen(after);
  EXPECT_TRUE(same(after, shown()));
  DropWindowCopy();
}

TEST_F(Window, WhereyIsTheRowModulo256InTallWindows) {
  Open(80, 400, Rect{0, 0, 79, 299}, 0x07);
  GOTOXY32(1, 260);
  EXPECT_EQ(WHEREY32(), 260u);
  EXPECT_EQ(WHEREY(), 4);
}

// A platform that cannot report anything: standard output is not a console.
class NoConsole : public MemoryConsole {
 public:
  NoConsole() : MemoryConsole(80, 25, Rect{0, 0, 79, 24}, 0x07) {}
  void GetScreenInfo(ScreenInfo&) override {}
};

TEST_F(Window, WithoutConsoleReportTheWindowIsOneCell) {
  NoConsole none;
  Init(none);
  EXPECT_EQ(TEXTATTR, 0);
  EXPECT_EQ(WINDMAXX, 1u);
  GOTOXY(2, 1);
  GOTOXY(1, 2);
  EXPECT_EQ(none.cursor(), (Coord{0, 0}));
  EXPECT_EQ(WHEREY(), 1);
}

}  // namespace
}  // namespace console::testing
