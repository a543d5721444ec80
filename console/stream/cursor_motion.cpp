#include "console/stream/cursor_motion.hpp"

namespace console::stream {

void Motion::AddNumber(int n) {
  char digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n > 0);
  while (count > 0) Add(digits[--count]);
}

namespace {

// CSI n X, leaving out n when it is 1.
void Csi(Motion& motion, int n, char final_byte) {
  motion.Add("\x1b[");
  if (n != 1) motion.AddNumber(n);
  motion.Add(final_byte);
}

// DY rows down (or up); AT_START when the cursor is in the first column.
void Vertical(Motion& motion, int dy, bool at_start) {
  // LF goes down one row; only used in column 1, where a terminal that turns LF into CR LF
  // does the same. The target row is on the screen, so it never scrolls.
  if (dy > 0 && at_start && dy <= 3) {
    for (int n = 0; n < dy; ++n) motion.Add('\n');
  } else if (dy > 0) {
    Csi(motion, dy, 'B');
  } else if (dy == -1) {
    motion.Add("\x1bM");  // reverse index: one row up, never at the top row here
  } else if (dy < 0) {
    Csi(motion, -dy, 'A');
  }
}

}  // namespace

Motion TerminalCursor::RelativeMotion(int to_x, int to_y) const {
  if (!known) return {};
  const int dy = to_y - y;
  // By way of the start of the row. A CR also settles a pending wrap.
  Motion by_start;
  if (x != 0 || pending_wrap) by_start.Add('\r');
  Vertical(by_start, dy, true);
  if (to_x > 0) Csi(by_start, to_x, 'C');
  if (pending_wrap) return by_start;
  // Straight from the cursor's column.
  Motion straight;
  Vertical(straight, dy, x == 0);
  const int dx = to_x - x;
  if (dx > 0) Csi(straight, dx, 'C');
  if (dx < 0 && -dx <= 3)
    for (int n = 0; n < -dx; ++n) straight.Add('\b');
  else if (dx < 0)
    Csi(straight, -dx, 'D');
  return straight.size() < by_start.size() ? straight : by_start;
}

Motion TerminalCursor::MotionTo(int to_x, int to_y) const {
  if (known && !pending_wrap && to_x == x && to_y == y) return {};
  Motion absolute;
  absolute.Add("\x1b[");
  if (to_y != 0 || to_x != 0) absolute.AddNumber(to_y + 1);
  if (to_x != 0) {
    absolute.Add(';');
    absolute.AddNumber(to_x + 1);
  }
  absolute.Add('H');
  const Motion relative = RelativeMotion(to_x, to_y);
  return relative.size() > 0 && relative.size() <= absolute.size() ? relative : absolute;
}

}  // namespace console::stream
