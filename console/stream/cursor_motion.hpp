// Where a terminal's cursor is, as far as the bytes sent so far tell, and the cheapest bytes
// that take it somewhere else.
#pragma once

#include <cstddef>

#include "console/stream/short_sequence.hpp"

namespace console::stream {

// The bytes of the move COLUMNS to the right, CSI n C: the longest move along a row.
std::size_t MoveRightSize(int columns);

struct TerminalCursor {
  int x = 0;
  int y = 0;
  bool known = true;
  // The last column was just written: the terminal's cursor stays on it with a wrap
  // pending, which the next printable character would carry out. Only CR and absolute
  // moves are trusted to cancel it.
  bool pending_wrap = false;

  // True when the cursor stands at (X, Y), with no wrap pending.
  bool At(int to_x, int to_y) const { return known && !pending_wrap && to_x == x && to_y == y; }
  // The shortest of an absolute move and the relative ones that take the cursor to (X, Y);
  // empty when it is there already. Every target is on the screen, so nothing scrolls.
  ShortSequence MotionTo(int to_x, int to_y) const;
  // The size of that motion: each way is built into a count of its bytes, not stored.
  std::size_t MotionSize(int to_x, int to_y) const;
};

}  // namespace console::stream
