#include "console/stream/cursor_motion.hpp"

namespace console::stream {
namespace {

// CSI n X, leaving out n when it is 1.
std::string Csi(int n, char final_byte) {
  std::string s = "\x1b[";
  if (n != 1) s += std::to_string(n);
  s.push_back(final_byte);
  return s;
}

// DY rows down (or up); AT_START when the cursor is in the first column.
std::string Vertical(int dy, bool at_start) {
  // LF goes down one row; only used in column 1, where a terminal that turns LF into CR LF
  // does the same. The target row is on the screen, so it never scrolls.
  if (dy > 0)
    return at_start && dy <= 3 ? std::string(static_cast<std::size_t>(dy), '\n') : Csi(dy, 'B');
  if (dy == -1) return "\x1bM";  // reverse index: one row up, never at the top row here
  if (dy < 0) return Csi(-dy, 'A');
  return {};
}

}  // namespace

std::string TerminalCursor::RelativeMotion(int to_x, int to_y) const {
  if (!known) return {};
  const int dy = to_y - y;
  // By way of the start of the row. A CR also settles a pending wrap.
  std::string by_start;
  if (x != 0 || pending_wrap) by_start += '\r';
  by_start += Vertical(dy, true);
  if (to_x > 0) by_start += Csi(to_x, 'C');
  if (pending_wrap) return by_start;
  // Straight from the cursor's column.
  std::string straight = Vertical(dy, x == 0);
  const int dx = to_x - x;
  if (dx > 0) straight += Csi(dx, 'C');
  if (dx < 0)
    straight += -dx <= 3 ? std::string(static_cast<std::size_t>(-dx), '\b') : Csi(-dx, 'D');
  return straight.size() < by_start.size() ? straight : by_start;
}

std::string TerminalCursor::MotionTo(int to_x, int to_y) const {
  if (known && !pending_wrap && to_x == x && to_y == y) return {};
  std::string absolute = "\x1b[";
  if (to_y != 0 || to_x != 0) absolute += std::to_string(to_y + 1);
  if (to_x != 0) {
    absolute.push_back(';');
    absolute += std::to_string(to_x + 1);
  }
  absolute.push_back('H');
  std::string relative = RelativeMotion(to_x, to_y);
  return !relative.empty() && relative.size() <= absolute.size() ? relative : absolute;
}

}  // namespace console::stream
