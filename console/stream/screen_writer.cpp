#include "console/stream/screen_writer.hpp"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <utility>

namespace console::stream {

ScreenWriter::ScreenWriter(int width, int height, const std::array<std::string, 256>& glyphs)
    : width_(width),
      height_(height),
      glyphs_(glyphs),
      spots_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
      rows_(static_cast<std::size_t>(height)),
      drawn_(static_cast<std::size_t>(height)),
      drawn_top_(height) {
  for (int y = 0; y < height; ++y) rows_[static_cast<std::size_t>(y)] = y;
  for (std::size_t code = 0; code < glyphs.size(); ++code)
    if (glyphs[code].size() == 1) one_byte_[code] = glyphs[code][0];
}

void ScreenWriter::ForgetScreen() {
  Settle();
  for (Spot& spot : spots_) spot.known = false;
}

void ScreenWriter::AssumeCursor(int x, int y) {
  Settle();
  cursor_ = TerminalCursor{x, y, x >= 0 && y >= 0, false};
}

void ScreenWriter::Append(std::string_view raw) {
  Settle();
  bytes_ += raw;
}

void ScreenWriter::ForgetColours() {
  Settle();
  style_known_ = false;
}

void ScreenWriter::SetStyle(const Style& style) {
  bytes_ += StyleChange(style_, style_known_, style);
  style_ = style;
  style_known_ = true;
}

void ScreenWriter::ResetColours() {
  Settle();
  if (colours_changed()) SetStyle(Style{});
}

void ScreenWriter::MoveFar(int x, int y) {
  bytes_ += cursor_.MotionTo(x, y).view();
  cursor_ = TerminalCursor{x, y, true, false};
}

void ScreenWriter::MoveTo(int x, int y) {
  Settle();
  Move(x, y);
}

std::string ScreenWriter::TakeBytes() {
  // The writer keeps its buffer, grown to a frame's size, for the next frame.
  std::string bytes(bytes_);
  bytes_.clear();
  return bytes;
}

std::string ScreenWriter::TakeFrame(Coord cursor, bool final) {
  if (final) ResetColours();
  MoveTo(cursor.x, cursor.y);
  return TakeBytes();
}

void ScreenWriter::PutCells(int x, int y, const uint8_t* codes, int count, uint16_t attribute) {
  if (y < 0 || y >= height_) return;
  if (x < 0) {
    codes -= x;
    count += x;
    x = 0;
  }
  count = std::min(count, width_ - x);
  if (count <= 0) return;
  Spot* const row = Row(y);
  int first = 0;
  int last = -1;
  auto draw = [&](int at, uint8_t code, Style style) {
    Spot& spot = row[at];
    // Exactly what the terminal shows already, with nothing else drawn there since, needs
    // nothing; a blank in another foreground is left to the settle's ShowsAlready, as
    // checking it here costs more than it saves.
    if (!spot.drawn && spot.known && spot.shown_code == code && spot.shown_style == style) return;
    spot.drawn = true;
    spot.code = code;
    spot.style = style;
    if (last < 0) first = at;
    last = at;
  };
  // A hidden cell is a blank; without colours a blank stays plain, for underlined, a
  // field's padding would show a line.
  if (Hidden(attribute) || monochrome_) {
    for (int i = 0; i < count; ++i) {
      const uint8_t code = Hidden(attribute) ? ' ' : codes[i];
      draw(x + i, code, code == ' ' ? Style{} : MonochromeStyleOf(attribute));
    }
  } else {
    // Runs of cells share their attribute.
    if (attribute != last_attribute_) {
      last_attribute_ = attribute;
      last_style_ = StyleOf(attribute);
    }
    for (int i = 0; i < count; ++i) draw(x + i, codes[i], last_style_);
  }
  if (last < 0) return;
  Span& span = Drawn(y);
  span.from = std::min(span.from > span.to ? first : span.from, first);
  span.to = std::max(span.to, last);
  drawn_top_ = std::min(drawn_top_, y);
  drawn_bottom_ = std::max(drawn_bottom_, y);
}

void ScreenWriter::SendFrom(std::size_t i) {
  const int y = pending_[i].y;
  Spot* row = Row(y);
  // A blank still to be sent at X: it goes with the cells next to it.
  auto free_blank = [&](int x) {
    const int k = row[x].pending;
    return k >= 0 && Free(pending_[static_cast<std::size_t>(k)]) &&
           !pending_[static_cast<std::size_t>(k)].done;
  };
  int from = pending_[i].x;
  if (BlanksShowPlain()) {
    // Blanks still to be sent just before the cell go with it: they cost their bytes now or
    // later, and now they need no move of their own.
    while (from > 0 && free_blank(from - 1)) --from;
    // From the cursor, the cells in between are crossed by drawing them rather than by a
    // move when that is cheaper: blanks still to be sent cost nothing extra; a blank the
    // terminal shows, or one already sent, a byte; and so does a blank standing in for a
    // cell of another colour, which that colour draws over later in this same write.
    if (cursor_.known && !cursor_.pending_wrap && cursor_.y == y && cursor_.x < from) {
      // No move along the row costs more than the one straight right: once the cells in
      // between cost that much, crossing them cannot be cheaper.
      const std::size_t most = CsiSize(from - cursor_.x);
      bool passable = true;
      std::size_t extra = 0;
      for (int x = cursor_.x; x < from && passable && extra < most; ++x) {
        const Spot& spot = row[x];
        if (spot.pending < 0) {
          passable = spot.known && spot.shown_code == ' ' && spot.shown_style.background < 0 &&
                     !spot.shown_style.underline;
          ++extra;
        } else {
          const Cell& cell = pending_[static_cast<std::size_t>(spot.pending)];
          passable = Free(cell) || !cell.done;
          extra += Free(cell) && !cell.done ? 0 : 1;
        }
      }
      // Any move right along a row takes three bytes at least.
      constexpr std::size_t kLeastMove = 3;
      if (passable && extra < most && (extra < kLeastMove || extra < cursor_.MotionSize(from, y))) {
        // Every cell crossed is drawn as a blank.
        bytes_.append(static_cast<std::size_t>(from - cursor_.x), ' ');
        for (int x = cursor_.x; x < from; ++x) {
          const int k = row[x].pending;
          if (k >= 0 && Free(pending_[static_cast<std::size_t>(k)]))
            pending_[static_cast<std::size_t>(k)].done = true;
        }
        cursor_.x = from;
      }
    }
  }
  // And so do the blanks still to be sent just after it, and the cells of this colour next
  // to them.
  int to = pending_[i].x;
  while (to + 1 < width_ && row[to + 1].pending >= 0) {
    const Cell& next = pending_[static_cast<std::size_t>(row[to + 1].pending)];
    if (next.done || !(Free(next) ? BlanksShowPlain() : next.style == style_)) break;
    ++to;
  }
  // The run, from one move, its bytes gathered and appended a piece at a time.
  Move(from, y);
  char piece[64];
  std::size_t size = 0;
  for (int x = from; x <= to; ++x) {
    Cell& cell = pending_[static_cast<std::size_t>(row[x].pending)];
    const char byte = one_byte_[cell.code];
    if (size == sizeof piece || (byte == 0 && size > 0))
      bytes_.append(piece, std::exchange(size, 0));
    if (byte != 0)
      piece[size++] = byte;
    else
      bytes_ += glyphs_[cell.code];
    cell.done = true;
  }
  bytes_.append(piece, size);
  if (to + 1 < width_)
    cursor_.x = to + 1;
  else
    cursor_.pending_wrap = true;
}

void ScreenWriter::Send(std::size_t colours) {
  for (uint8_t c = 0; c < colours; ++c) {
    SetStyle(styles_[c]);
    for (std::size_t i = 0; i < pending_.size(); ++i)
      if (pending_[i].colour == c && !pending_[i].done) SendFrom(i);
  }
  // The blanks left over, in the colour set now when its background will do.
  const auto blank =
      std::find_if(pending_.begin(), pending_.end(), [](const Cell& cell) { return !cell.done; });
  if (blank == pending_.end()) return;
  if (!style_known_ || !BlanksShowPlain()) SetStyle(blank->style);
  for (std::size_t i = 0; i < pending_.size(); ++i)
    if (!pending_[i].done) SendFrom(i);
}

void ScreenWriter::Settle() {
  // The colour set now goes first, as it needs no change; then the others as they first
  // appear.
  styles_.clear();
  if (style_known_) styles_.push_back(style_);
  bool set_now_used = false;
  std::size_t last_colour = 0;
  // The cells drawn since the last settle that the terminal does not show already, in
  // screen order, each as last drawn.
  for (int y = drawn_top_; y <= drawn_bottom_; ++y) {
    Span& drawn = Drawn(y);
    const Span span = std::exchange(drawn, Span{});
    if (span.from > span.to) continue;
    Spot* row = Row(y);
    for (int x = span.from; x <= span.to; ++x) {
      Spot& spot = row[x];
      if (!spot.drawn) continue;
      spot.drawn = false;
      if (ShowsAlready(spot)) continue;
      Cell cell{x, y, spot.code, spot.style, false, kNoColour, &spot};
      if (!Free(cell)) {
        // Neighbours mostly share their colour: the last one found is tried first.
        if (last_colour >= styles_.size() || !(styles_[last_colour] == cell.style)) {
          const auto found = std::find(styles_.begin(), styles_.end(), cell.style);
          last_colour = static_cast<std::size_t>(found - styles_.begin());
          if (found == styles_.end()) styles_.push_back(cell.style);
        }
        cell.colour = static_cast<uint8_t>(last_colour);
        set_now_used |= cell.colour == 0 && style_known_;
      }
      spot.pending = static_cast<int32_t>(pending_.size());
      pending_.push_back(cell);
      spot.shown_code = spot.code;
      spot.shown_style = spot.style;
      spot.known = true;
    }
  }
  drawn_top_ = height_;
  drawn_bottom_ = -1;
  if (pending_.empty()) return;
  if (style_known_ && !set_now_used) {
    styles_.erase(styles_.begin());
    for (Cell& cell : pending_)
      if (cell.colour != kNoColour) --cell.colour;
  }
  Send(styles_.size());
  for (const Cell& cell : pending_) cell.spot->pending = -1;
  pending_.clear();
}

void ScreenWriter::ScrollRect(Rect source, Rect clip, Coord dest, uint16_t fill) {
  const bool up_one = dest.y == source.top - 1 && dest.x == source.left && clip.top == dest.y &&
                      clip.bottom == source.bottom;
  const bool full_width = clip.left <= 0 && clip.right >= width_ - 1;
  const int top = std::max<int>(clip.top, 0);
  const int bottom = std::min<int>(clip.bottom, height_ - 1);
  if (up_one && full_width && top <= bottom) ScrollUp(top, bottom, fill);
}

void ScreenWriter::ScrollUp(int top, int bottom, uint16_t fill) {
  // Cells held on the top row would leave the screen unsent: send them first. The others
  // go up with the screen.
  if (Drawn(top).from <= Drawn(top).to) Settle();
  const bool whole_screen = top == 0 && bottom == height_ - 1;
  // The new row takes the current background colour, so set the fill's first.
  const Style fill_style = monochrome_ ? MonochromeStyleOf(fill) : StyleOf(fill);
  if (!style_known_ || style_.background != fill_style.background) SetStyle(fill_style);
  if (!whole_screen) {
    // A scrolling region, and back to the whole screen; both moves put the cursor home.
    bytes_ += "\x1b[" + std::to_string(top + 1) + ";" + std::to_string(bottom + 1) + "r";
    cursor_ = TerminalCursor{};
  }
  // A line feed on the bottom row scrolls, and on the whole screen the top row goes into
  // the terminal's scroll-back.
  Move(0, bottom);
  bytes_ += '\n';
  if (whole_screen) {
    shift_ = (shift_ + 1) % height_;
  } else {
    const int leaving = rows_[Ring(top)];
    for (int y = top; y < bottom; ++y) rows_[Ring(y)] = rows_[Ring(y + 1)];
    rows_[Ring(bottom)] = leaving;
  }
  Drawn(bottom) = Span{};
  // The rows drawn went up with the others (a superset is enough).
  drawn_top_ = std::max(drawn_top_ - 1, 0);
  // The row scrolled in is blank, in the background set now; a blank shows no foreground
  // and no line.
  Style blank;
  blank.background = style_.background;
  if (blank_row_.empty() || !(blank_row_[0].shown_style == blank))
    blank_row_.assign(static_cast<std::size_t>(width_),
                      Spot{-1, blank, Style{}, ' ', 0, true, false});
  std::copy(blank_row_.begin(), blank_row_.end(), Row(bottom));
  if (!whole_screen) {
    bytes_ += "\x1b[r";
    cursor_ = TerminalCursor{};
  }
}

}  // namespace console::stream
