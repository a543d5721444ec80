// Where a terminal's cursor is, as far as the bytes sent so far tell, and the cheapest bytes
// that take it somewhere else.
#pragma once

#include <string>

namespace console::stream {

struct TerminalCursor {
  int x = 0;
  int y = 0;
  bool known = true;
  // The last column was just written: the terminal's cursor stays on it with a wrap
  // pending, which the next printable character would carry out. Only CR and absolute
  // moves are trusted to cancel it.
  bool pending_wrap = false;

  // The shortest of an absolute move and the relative ones that take the cursor to (X, Y);
  // empty when it is there already. Every target is on the screen, so nothing scrolls.
  std::string MotionTo(int to_x, int to_y) const;

 private:
  // The motion in relative terms; empty when there is none to be had.
  std::string RelativeMotion(int to_x, int to_y) const;
};

}  // namespace console::stream
