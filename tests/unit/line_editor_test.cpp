#include <string>

#include "console_fixture.hpp"

namespace console::testing {
namespace {

class LineEditor : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    GOTOXY(1, 5);
  }
  void Type(std::string_view text) {
    for (char c : text) Press(0, static_cast<uint8_t>(c));
  }
  void Press(uint16_t scan, uint8_t character, uint32_t state = 0) {
    screen->PushKey(MakeKey(scan, character, state, 0));
  }
  void Grey(uint16_t scan) { Press(scan, 0, kEnhancedKey); }
  // The line that READLN_END leaves in INPUT's buffer, line end included.
  static std::string Line() {
    return std::string(reinterpret_cast<const char*>(INPUT.buffer),
                       static_cast<std::size_t>(INPUT.bufend));
  }
  static constexpr uint16_t kLeft = scan::kLeft, kRight = scan::kRight, kHome = scan::kHome,
                            kEnd = scan::kEnd;
};

TEST_F(LineEditor, TypingAfterLeftOverwrites) {
  Type("pqr");
  Grey(kLeft);
  Grey(kLeft);
  Type("x");
  screen->OnWait([](MemoryConsole& console) {
    // The first wait: everything typed so far has been echoed.
    if (console.waits() == 1) {
      EXPECT_EQ(console.Row(4, 0, 4), "pxr ");
      EXPECT_EQ(console.cursor(), (Coord{2, 4})) << "the caret stands after the x";
      KeyEvent enter;
      enter.scan_code = 28;
      enter.character = 13;
      console.PushKey(enter);
    }
  });
  READLN_END(INPUT);
  EXPECT_EQ(Line(), "pxr\r\n");
  EXPECT_EQ(INPUT.bufpos, 5) << "READLN_END consumed the whole line";
  EXPECT_EQ(Cursor(), (Coord{1, 6}));
}

TEST_F(LineEditor, BackspaceOnlyAtTheEndOfTheText) {
  Type("abc");
  Grey(kLeft);
  Type("\b");
  Grey(kEnd);
  Type("\b\r");
  READLN_END(INPUT);
  EXPECT_EQ(Line(), "ab\r\n");
  EXPECT_EQ(Row(5, 1, 3), "ab ") << "back, blank, back erased the c";
}

TEST_F(LineEditor, CtrlSActsAsBackspaceAndCtrlZIsIgnored) {
  Type(
      "ab\x13\x1a"
      "c\r");
  READLN_END(INPUT);
  EXPECT_EQ(Line(), "ac\r\n");
}

TEST_F(LineEditor, EscAndCtrlYEraseTheWholeLineWhereverTheCaretIs) {
  Type("first");
  Grey(kHome);
  Grey(kRight);
  Type(
      "\x1b"
      "second");
  Grey(kLeft);
  Type(
      "\x19"
      "third\r");
  READLN_END(INPUT);
  EXPECT_EQ(Line(), "third\r\n");
  EXPECT_EQ(Row(5, 1, 7), "third  ");
}

TEST_F(LineEditor, EnterInTheMiddleKeepsTheWholeText) {
  Type("hello");
  Grey(kHome);
  Grey(kRight);
  Type("\r");
  READLN_END(INPUT);
  EXPECT_EQ(Line(), "hello\r\n");
}

TEST_F(LineEditor, KeypadKeysAndIgnoredExtendedCodes) {
  Type("a");
  Press(53, '/', kEnhancedKey);  // keypad slash types '/'
  Press(59, 0);                  // F1: nothing
  Press(83, 0, kEnhancedKey);    // Del: nothing
  Type(" b");
  Press(28, 13, kEnhancedKey);  // keypad Enter ends the line
  READLN_END(INPUT);
  EXPECT_EQ(Line(), "a/ b\r\n");
  EXPECT_EQ(Row(5, 1, 4), "a/ b") << "Space is echoed and does not end the line";
}

TEST_F(LineEditor, LineHoldsAtMost254Characters) {
  Type(std::string(300, 'k'));
  Type("\r");
  READLN_END(INPUT);
  EXPECT_EQ(INPUT.bufend, 256);
  EXPECT_EQ(Line(), std::string(254, 'k') + "\r\n");
  EXPECT_EQ(Row(8, 1, 16), std::string(14, 'k') + "  ") << "nothing echoed past 254";
}

TEST_F(LineEditor, TypedLineFeedIsStoredAndReadlnStopsAfterIt) {
  Type("ab\ncd\r");
  READLN_END(INPUT);
  EXPECT_EQ(Line(), "ab\ncd\r\n");
  EXPECT_EQ(INPUT.bufpos, 3);
  EXPECT_EQ(At(3, 6).character, 'c') << "the echoed LF went one row down, same column";
}

TEST_F(LineEditor, CaretDoesNotClimbBackOverAWrappedEcho) {
  GOTOXY(75, 5);
  Type("0123456789");
  Grey(kHome);
  Type("X\r");
  READLN_END(INPUT);
  EXPECT_EQ(Row(5, 75, 6), "012345");
  EXPECT_EQ(Row(6, 1, 5), "X789 ") << "Home stopped at the window's left edge";
  EXPECT_EQ(Line(), "X123456789\r\n") << "while the fill position went back to the start";
}

TEST_F(LineEditor, EndOfInputEndsTheLineAsEnter) {
  Type("bye");
  screen->EndInput();
  READLN_END(INPUT);
  EXPECT_EQ(Line(), "bye\r\n");
}

}  // namespace
}  // namespace console::testing
