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
      drawn_rows_(static_cast<std::size_t>(height)) {
  for (int y = 0; y < height; ++y) rows_[static_cast<std::size_t>(y)] = y;
}

void ScreenWriter::ForgetScreen() {
  Settle();
  for (Spot& spot : spots_) spot.known = false;
}

bool ScreenWriter::ShowsAlready(const Spot& spot) {
  if (!spot.known || spot.shown_code != spot.code) return false;
  // A blank looks the same in any foreground colour.
  return spot.shown_style == spot.style ||
         (spot.code == ' ' && spot.shown_style.background == spot.style.background &&
          spot.shown_style.underline == spot.style.underline);
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

void ScreenWriter::Move(int x, int y) {
  bytes_ += cursor_.MotionTo(x, y).view();
  cursor_ = TerminalCursor{x, y, true, false};
}

void ScreenWriter::MoveTo(int x, int y) {
  Settle();
  Move(x, y);
}

std::string ScreenWriter::TakeBytes() {
  std::string bytes;
  bytes.swap(bytes_);
  return bytes;
}

std::string ScreenWriter::TakeFrame(Coord cursor, bool final) {
  if (final) ResetColours();
  MoveTo(cursor.x, cursor.y);
  return TakeBytes();
}

void ScreenWriter::PutCell(int x, int y, uint8_t code, uint16_t attribute) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Spot& spot = Row(y)[x];
  spot.drawn = true;
  Drawn(y) = 1;
  if (Hidden(attribute)) {
    spot.code = ' ';
    spot.style = Style{};
    return;
  }
  // Without colours a blank stays plain: underlined, a field's padding would show a line.
  spot.code = code;
  spot.style = !monochrome_  ? StyleOf(attribute)
               : code == ' ' ? Style{}
                             : MonochromeStyleOf(attribute);
}

void ScreenWriter::Draw(Cell& cell) {
  Move(cell.x, cell.y);
  bytes_ += glyphs_[cell.code];
  cell.done = true;
  if (cell.x + 1 < width_) {
    cursor_.x = cell.x + 1;
  } else {
    cursor_.pending_wrap = true;
  }
}

template <typename Pick>
void ScreenWriter::SendRow(std::size_t first, std::size_t last, Pick pick) {
  // The cells of a row are in column order, one per column.
  auto adjacent = [this](std::size_t k) { return pending_[k - 1].x + 1 == pending_[k].x; };
  for (std::size_t i = first; i <= last; ++i) {
    if (!pick(pending_[i])) continue;
    std::size_t from = i;
    if (BlanksShowPlain()) {
      // Blanks still to be sent just before the cell go with it: they cost their bytes
      // now or later, and now they need no move of their own.
      while (from > first && adjacent(from) && Free(pending_[from - 1]) && !pending_[from - 1].done)
        --from;
      // From the cursor, the cells in between are crossed by drawing them rather than by a
      // move when that is cheaper: blanks still to be sent cost nothing extra, blanks
      // already sent a byte each, and so does a blank standing in for a cell of another
      // colour, which that colour draws over later in this same write.
      const int gap = pending_[from].x - cursor_.x;
      const bool on_row =
          cursor_.known && !cursor_.pending_wrap && cursor_.y == pending_[from].y && gap > 0;
      if (on_row && static_cast<std::size_t>(gap) <= from - first) {
        const std::size_t bridge = from - static_cast<std::size_t>(gap);
        bool passable = pending_[bridge].x == cursor_.x;
        std::size_t extra = 0;
        for (std::size_t k = bridge; k < from && passable; ++k) {
          const Cell& cell = pending_[k];
          passable = Free(cell) || !cell.done;
          extra += Free(cell) && !cell.done ? 0 : 1;
        }
        if (passable && extra < cursor_.MotionTo(pending_[from].x, pending_[from].y).size()) {
          for (std::size_t k = bridge; k < from; ++k) {
            if (Free(pending_[k])) {
              Draw(pending_[k]);
            } else {
              bytes_ += ' ';
              cursor_.x = pending_[k].x + 1;
            }
          }
        }
      }
    }
    std::size_t to = i;
    // And so do the blanks still to be sent just after it.
    if (BlanksShowPlain())
      while (to < last && adjacent(to + 1) && Free(pending_[to + 1]) && !pending_[to + 1].done)
        ++to;
    for (std::size_t k = from; k <= to; ++k) Draw(pending_[k]);
    i = to;
  }
}

void ScreenWriter::Send(const std::vector<Style>& styles) {
  auto send = [this](auto pick) {
    for (std::size_t first = 0; first < pending_.size();) {
      std::size_t last = first;
      while (last + 1 < pending_.size() && pending_[last + 1].y == pending_[first].y) ++last;
      SendRow(first, last, pick);
      first = last + 1;
    }
  };
  for (const Style& style : styles) {
    SetStyle(style);
    send([&style](const Cell& cell) { return !cell.done && !Free(cell) && cell.style == style; });
  }
  // The blanks left over, in the colour set now when its background will do.
  const auto blank =
      std::find_if(pending_.begin(), pending_.end(), [](const Cell& cell) { return !cell.done; });
  if (blank != pending_.end()) {
    if (!style_known_ || !BlanksShowPlain()) SetStyle(blank->style);
    send([](const Cell& cell) { return !cell.done; });
  }
}

void ScreenWriter::Settle() {
  // The cells drawn since the last settle, in screen order, each as last drawn.
  for (int y = 0; y < height_; ++y) {
    if (!Drawn(y)) continue;
    Drawn(y) = 0;
    Spot* row = Row(y);
    for (int x = 0; x < width_; ++x) {
      Spot& spot = row[x];
      if (!spot.drawn) continue;
      spot.drawn = false;
      // What the terminal shows already stays, to be crossed rather than moved over.
      const bool shown = ShowsAlready(spot);
      pending_.push_back(Cell{x, y, spot.code, spot.style, shown, shown});
      spot.shown_code = spot.code;
      spot.shown_style = spot.style;
      spot.known = true;
    }
  }
  if (pending_.empty()) return;
  // The colour set now first, as it needs no change; then the others as they first appear.
  std::vector<Style> styles;
  for (const Cell& cell : pending_)
    if (!cell.done && !Free(cell) &&
        std::find(styles.begin(), styles.end(), cell.style) == styles.end())
      styles.push_back(cell.style);
  const auto set_now = std::find(styles.begin(), styles.end(), style_);
  if (style_known_ && set_now != styles.end()) std::rotate(styles.begin(), set_now, set_now + 1);
  Send(styles);
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
  if (Drawn(top)) Settle();
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
  const auto first = rows_.begin() + top;
  std::rotate(first, first + 1, rows_.begin() + bottom + 1);
  Drawn(bottom) = 0;
  Spot* row = Row(bottom);
  for (int x = 0; x < width_; ++x) row[x] = Spot{' ', true, false, 0, style_, Style{}};
  if (!whole_screen) {
    bytes_ += "\x1b[r";
    cursor_ = TerminalCursor{};
  }
}

}  // namespace console::stream
