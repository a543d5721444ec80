#include "console/stream/screen_model.hpp"

#include <utility>

#include "console/rect_move.hpp"

namespace console::stream {

ScreenModel::ScreenModel(int width, int height)
    : width_(width),
      height_(height),
      spots_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
      rows_(static_cast<std::size_t>(height)),
      drawn_(static_cast<std::size_t>(height)),
      drawn_top_(height) {
  for (int y = 0; y < height; ++y) rows_[static_cast<std::size_t>(y)] = y;
}

void ScreenModel::TakeChanges(std::vector<Change>& out) {
  for (int y = drawn_top_; y <= drawn_bottom_; ++y) {
    const Span span = std::exchange(Drawn(y), Span{});
    Spot* row = Row(y);
    for (int x = span.from; x <= span.to; ++x) {
      Spot& spot = row[x];
      if (!spot.drawn) continue;
      spot.drawn = false;
      if (ShowsAlready(spot)) continue;
      out.push_back(Change{x, y, spot.code, spot.style});
      spot.shown_code = spot.code;
      spot.shown_style = spot.style;
      spot.known = true;
    }
  }
  drawn_top_ = height_;
  drawn_bottom_ = -1;
}

void ScreenModel::ScrollUp(int top, int bottom, int8_t background) {
  if (top == 0 && bottom == height_ - 1) {
    shift_ = (shift_ + 1) % height_;
  } else {
    const int leaving = rows_[Ring(top)];
    for (int y = top; y < bottom; ++y) rows_[Ring(y)] = rows_[Ring(y + 1)];
    rows_[Ring(bottom)] = leaving;
  }
  // The row scrolled in is blank in the background set; a blank shows no foreground.
  if (blank_row_.empty() || blank_row_[0].shown_style.background != background) {
    Style blank;
    blank.background = background;
    blank_row_.assign(static_cast<std::size_t>(width_), Spot{blank, blank, ' ', ' ', true, false});
  }
  std::copy(blank_row_.begin(), blank_row_.end(), Row(bottom));
}

void ScreenModel::Move(Rect source, Rect clip, Coord dest, uint8_t fill_code, Style fill_style) {
  // As the layer's picture has it: the moved cells over the filled source, each drawn.
  Spot fill;
  fill.code = fill_code;
  fill.style = fill_style;
  MoveRect(
      source, clip, dest, fill,
      [this](int x, int y) -> const Spot* {
        return x >= 0 && x < width_ && y >= 0 && y < height_ ? &Row(y)[x] : nullptr;
      },
      [this](int x, int y, const Spot& spot) { Draw(x, y, spot.code, spot.style); });
}

void ScreenModel::Forget() {
  for (Spot& spot : spots_) spot.known = false;
}

}  // namespace console::stream
