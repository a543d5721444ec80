// The first stage of the screen writer: what changed. The model knows what the terminal
// shows, as far as the bytes sent tell, and what the layer has drawn over it since the
// writer last sent; the difference is what the writer sends at the next wait.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "console/platform.hpp"
#include "console/stream/style.hpp"

namespace console::stream {

// A cell to send: where it is and what it shows.
struct Change {
  int x;
  int y;
  uint8_t code;
  Style style;
};

class ScreenModel {
  struct Spot;

 public:
  ScreenModel(int width, int height);

  // COUNT cells from (X, Y) to the right, all on the screen, the cell X + I showing
  // CODE(I) in STYLE(CODE(I)): a change each, unless the terminal shows exactly that and
  // nothing else was drawn there since.
  template <typename CodeOf, typename StyleOf>
  void Draw(int x, int y, int count, CodeOf code_of, StyleOf style_of) {
    Spot* const row = Row(y);
    int first = 0;
    int last = -1;
    for (int i = 0; i < count; ++i) {
      const uint8_t code = code_of(i);
      const Style style = style_of(code);
      Spot& spot = row[x + i];
      if (!spot.drawn && spot.known && spot.shown_code == code && spot.shown_style == style)
        continue;
      spot.drawn = true;
      spot.code = code;
      spot.style = style;
      if (last < 0) first = x + i;
      last = x + i;
    }
    if (last < 0) return;
    Span& span = Drawn(y);
    span.from = std::min(span.from > span.to ? first : span.from, first);
    span.to = std::max(span.to, last);
    drawn_top_ = std::min(drawn_top_, y);
    drawn_bottom_ = std::max(drawn_bottom_, y);
  }
  void Draw(int x, int y, uint8_t code, Style style) {
    Draw(
        x, y, 1, [code](int) { return code; }, [style](uint8_t) { return style; });
  }
  // Appends the changes to OUT in screen order, each cell as last drawn, leaving out those
  // the terminal shows already; from now on the model takes them as shown.
  void TakeChanges(std::vector<Change>& out);
  // The terminal's own scroll of full-width rows TOP to BOTTOM up by one; the row scrolled
  // in is blank over BACKGROUND. Only with no change waiting (the writer sends them first).
  void ScrollUp(int top, int bottom, int8_t background);
  // Any other move of the cells of SOURCE to DEST, within CLIP, which the terminal is not
  // asked to make: the cells moved, and FILL in the ones left behind, are changes to send.
  void Move(Rect source, Rect clip, Coord dest, uint8_t fill_code, Style fill_style);
  // Nothing the terminal shows is known any more: every cell drawn from now on is sent.
  void Forget();
  // What the terminal shows on a row, as far as the bytes sent tell.
  class ShownRow {
   public:
    // A blank at X that needs no colour: over the default background, not underlined.
    bool PlainBlank(int x) const {
      const Spot& spot = row_[x];
      return spot.known && spot.shown_code == ' ' && spot.shown_style.background < 0 &&
             !spot.shown_style.underline;
    }

   private:
    friend class ScreenModel;
    explicit ShownRow(const Spot* row) : row_(row) {}
    const Spot* row_;
  };
  ShownRow Shown(int y) { return ShownRow(Row(y)); }

 private:
  // One place of the screen: what the terminal shows there and what was drawn since.
  struct Spot {
    Style shown_style;
    Style style;
    uint8_t shown_code = 0;
    uint8_t code = 0;
    bool known = false;
    bool drawn = false;
  };
  // The columns of a row drawn since the last changes were taken; from > to when none.
  struct Span {
    int from = 1;
    int to = 0;
  };
  // A cell the terminal shows already: the same code, and the same style but for the
  // foreground of a blank, which shows no foreground.
  static bool ShowsAlready(const Spot& spot) {
    if (!spot.known || spot.shown_code != spot.code) return false;
    return spot.shown_style == spot.style ||
           (spot.code == ' ' && spot.shown_style.background == spot.style.background &&
            spot.shown_style.underline == spot.style.underline);
  }
  // The rows are a ring: a scroll of the whole screen turns it and blanks one row,
  // whatever the screen's size.
  std::size_t Ring(int y) const {
    const int at = y + shift_;
    return static_cast<std::size_t>(at < height_ ? at : at - height_);
  }
  Spot* Row(int y) { return &spots_[static_cast<std::size_t>(rows_[Ring(y)] * width_)]; }
  Span& Drawn(int y) { return drawn_[static_cast<std::size_t>(rows_[Ring(y)])]; }

  int width_;
  int height_;
  std::vector<Spot> spots_;
  std::vector<int> rows_;        // screen row (from shift_) -> row of spots_
  std::vector<Span> drawn_;      // by row of spots_
  std::vector<Spot> blank_row_;  // the last row scrolled in
  int shift_ = 0;
  // The screen rows that may hold something drawn: none when the top is below the bottom.
  int drawn_top_;
  int drawn_bottom_ = -1;
};

}  // namespace console::stream
