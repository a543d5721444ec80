#include "console/stream/cursor_motion.hpp"

#include <string_view>

namespace console::stream {

namespace {

// CSI n X, leaving out n when it is 1.
template <typename Out>
void Csi(Out& out, int n, char final_byte) {
  out.Add("\x1b[");
  if (n != 1) out.AddNumber(n);
  out.Add(final_byte);
}

// DY rows down (or up); AT_START when the cursor is in the first column.
template <typename Out>
void Vertical(Out& out, int dy, bool at_start) {
  // LF goes down one row; only used in column 1, where a terminal that turns LF into CR LF
  // does the same. The target row is on the screen, so it never scrolls.
  if (dy > 0 && at_start && dy <= 3) {
    for (int n = 0; n < dy; ++n) out.Add('\n');
  } else if (dy > 0) {
    Csi(out, dy, 'B');
  } else if (dy == -1) {
    out.Add("\x1bM");  // reverse index: one row up, never at the top row here
  } else if (dy < 0) {
    Csi(out, -dy, 'A');
  }
}

// The ways to (TO_X, TO_Y) from CURSOR.
enum class Way { kAbsolute, kByStart, kStraight };

template <typename Out>
void Absolute(Out& out, int to_x, int to_y) {
  out.Add("\x1b[");
  if (to_y != 0 || to_x != 0) out.AddNumber(to_y + 1);
  if (to_x != 0) {
    out.Add(';');
    out.AddNumber(to_x + 1);
  }
  out.Add('H');
}

// By way of the start of the row. A CR also settles a pending wrap.
template <typename Out>
void ByStart(Out& out, const TerminalCursor& cursor, int to_x, int to_y) {
  if (cursor.x != 0 || cursor.pending_wrap) out.Add('\r');
  Vertical(out, to_y - cursor.y, true);
  if (to_x > 0) Csi(out, to_x, 'C');
}

// Straight from the cursor's column.
template <typename Out>
void Straight(Out& out, const TerminalCursor& cursor, int to_x, int to_y) {
  Vertical(out, to_y - cursor.y, cursor.x == 0);
  const int dx = to_x - cursor.x;
  if (dx > 0) Csi(out, dx, 'C');
  if (dx < 0 && -dx <= 3)
    for (int n = 0; n < -dx; ++n) out.Add('\b');
  else if (dx < 0)
    Csi(out, -dx, 'D');
}

template <typename Out>
void Build(Out& out, Way way, const TerminalCursor& cursor, int to_x, int to_y) {
  switch (way) {
    case Way::kAbsolute: Absolute(out, to_x, to_y); break;
    case Way::kByStart: ByStart(out, cursor, to_x, to_y); break;
    case Way::kStraight: Straight(out, cursor, to_x, to_y); break;
  }
}

// An output that only counts the bytes a builder writes.
struct Count {
  void Add(char) { ++size; }
  void Add(std::string_view text) { size += text.size(); }
  void AddNumber(int n) { size += n < 10 ? 1 : n < 100 ? 2 : n < 1000 ? 3 : n < 10000 ? 4 : 5; }
  std::size_t size = 0;
};

// The cheapest way and its size: a relative move (straight, or by the start of the row,
// which alone settles a pending wrap) when the cursor is known and the move is no longer
// than the absolute one.
Way Cheapest(const TerminalCursor& cursor, int to_x, int to_y, std::size_t& size) {
  Count absolute;
  if (!cursor.known) {
    Absolute(absolute, to_x, to_y);
    size = absolute.size;
    return Way::kAbsolute;
  }
  Way way = Way::kByStart;
  Count relative;
  ByStart(relative, cursor, to_x, to_y);
  if (!cursor.pending_wrap) {
    Count straight;
    Straight(straight, cursor, to_x, to_y);
    if (straight.size < relative.size) {
      way = Way::kStraight;
      relative = straight;
    }
  }
  // No absolute move is shorter than CSI H: a relative one that short needs no comparing.
  constexpr std::size_t kShortestAbsolute = 3;
  size = relative.size;
  if (size != 0 && size <= kShortestAbsolute) return way;
  Absolute(absolute, to_x, to_y);
  if (size == 0 || size > absolute.size) {
    size = absolute.size;
    return Way::kAbsolute;
  }
  return way;
}

}  // namespace

std::size_t MoveRightSize(int columns) {
  Count count;
  Csi(count, columns, 'C');
  return count.size;
}

std::size_t TerminalCursor::MotionSize(int to_x, int to_y) const {
  if (At(to_x, to_y)) return 0;
  std::size_t size = 0;
  Cheapest(*this, to_x, to_y, size);
  return size;
}

ShortSequence TerminalCursor::MotionTo(int to_x, int to_y) const {
  ShortSequence motion;
  if (At(to_x, to_y)) return motion;
  std::size_t size = 0;
  Build(motion, Cheapest(*this, to_x, to_y, size), *this, to_x, to_y);
  return motion;
}

}  // namespace console::stream
