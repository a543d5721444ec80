// Builds the bytes that bring a terminal's screen to what the layer drew: cells, cursor
// moves, colours and scrolling, collected in one buffer so that a whole frame goes out in
// a single write. It tracks where the terminal's cursor really is (cursor_motion.hpp) and
// which colours are set (style.hpp), so that it sends colour codes only when they change
// and moves the cursor the cheapest way.
//
// Cells drawn between two waits are held back and sent together, colour by colour: all the
// cells of one colour, then the next, each in screen order. They scroll with the screen
// while held: the terminal's own scroll moves what it shows, and the held cells are sent
// where their rows have gone. A blank over the default background looks the same in any
// colour, so blanks go with whichever colour is set and bridge the gaps between its cells.
// A cell that the terminal shows already, as far as the bytes sent tell (rows scrolled in
// are blank), is not sent again.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/platform.hpp"
#include "console/stream/cursor_motion.hpp"
#include "console/stream/style.hpp"

namespace console::stream {

class ScreenWriter {
 public:
  ScreenWriter(int width, int height, const std::array<std::string, 256>& glyphs);

  // Draw without colours (MonochromeStyleOf).
  void SetMonochrome(bool monochrome) { monochrome_ = monochrome; }
  // The terminal's cursor is at (X, Y); -1 when unknown.
  void AssumeCursor(int x, int y);
  // Draws CODE in the cell (X, Y) in ATTRIBUTE; a hidden cell as a blank.
  void PutCell(int x, int y, uint8_t code, uint16_t attribute) {
    PutCells(x, y, &code, 1, attribute);
  }
  // The same for COUNT CODES from (X, Y) to the right, in one row.
  void PutCells(int x, int y, const uint8_t* codes, int count, uint16_t attribute);
  // Moves full-width rows TOP to BOTTOM up by one, the bottom one blank in FILL.
  void ScrollUp(int top, int bottom, uint16_t fill);
  // The layer's move of a rectangle (Platform::ScrollRect), as a terminal can do it: the
  // layer only ever moves full-width rows up by one; any other move is left undone.
  void ScrollRect(Rect source, Rect clip, Coord dest, uint16_t fill);
  // Raw bytes (a terminal mode) to go out with the next frame, after what is drawn so far.
  void Append(std::string_view raw);
  // Someone else may have set the colours: send them in full next time.
  void ForgetColours();
  // Someone else may have written on the screen: send every cell drawn from now on.
  void ForgetScreen();

  // Sends the held-back cells, colour by colour, the colour set now first: done once per
  // wait, and before a scroll that would take some of them off the screen.
  void Settle();
  // Settles, then takes the cursor to (X, Y).
  void MoveTo(int x, int y);
  // Back to the terminal's default colours, if the writer changed them.
  void ResetColours();
  // The bytes sent so far, taken out of the writer; the held-back cells stay held.
  std::string TakeBytes();
  // A whole frame: everything drawn since the last one, the cursor left at CURSOR; with
  // FINAL, the terminal's default colours set again too, as the last output of a run.
  std::string TakeFrame(Coord cursor, bool final);

  bool colours_changed() const { return !(style_known_ && style_ == Style{}); }

 private:
  struct Spot;
  // A cell to send, gathered at a settle in screen order.
  struct Cell {
    int x;
    int y;
    uint8_t code;
    Style style;
    bool done;
    uint8_t colour = kNoColour;  // its place in the order of the colours sent
    Spot* spot = nullptr;        // where it is on the screen
  };
  static constexpr uint8_t kNoColour = 0xFF;
  // A blank over the default background, not underlined: any colour with that background
  // draws it alike.
  static bool Free(const Cell& cell) {
    return cell.code == ' ' && cell.style.background < 0 && !cell.style.underline;
  }
  // A blank drawn in the style set now looks like any other: default background, no line.
  bool BlanksShowPlain() const { return style_.background < 0 && !style_.underline; }
  // One place of the screen: what the terminal shows there, as far as the bytes sent tell,
  // and what the layer drew there since the last settle.
  struct Spot {
    int32_t pending = -1;  // during a settle: its cell in pending_, when it is sent
    Style shown_style;
    Style style;
    uint8_t shown_code = 0;
    uint8_t code = 0;
    bool known = false;
    bool drawn = false;
  };
  static bool ShowsAlready(const Spot& spot) {
    if (!spot.known || spot.shown_code != spot.code) return false;
    // A blank looks the same in any foreground colour.
    return spot.shown_style == spot.style ||
           (spot.code == ' ' && spot.shown_style.background == spot.style.background &&
            spot.shown_style.underline == spot.style.underline);
  }
  // The spots of screen row Y. The rows are a ring: a scroll turns it and blanks one row,
  // whatever the screen's size.
  Spot* Row(int y) { return &spots_[static_cast<std::size_t>(rows_[Ring(y)] * width_)]; }
  // The columns of row Y drawn since the last settle; from > to when none.
  struct Span {
    int from = 1;
    int to = 0;
  };
  Span& Drawn(int y) { return drawn_[static_cast<std::size_t>(rows_[Ring(y)])]; }
  // Where screen row Y's entry in rows_ is: a scroll of the whole screen only turns the ring.
  std::size_t Ring(int y) const {
    const int at = y + shift_;
    return static_cast<std::size_t>(at < height_ ? at : at - height_);
  }

  void SetStyle(const Style& style);
  void Move(int x, int y) {
    if (!cursor_.At(x, y)) MoveFar(x, y);
  }
  void MoveFar(int x, int y);
  // Sends them colour by colour, the first COLOURS of styles_, then the blanks left over.
  void Send(std::size_t colours);
  // Sends the cell I in the colour set now, with the blanks around it, and crosses to it by
  // drawing the cells in between when that is cheaper than a move.
  void SendFrom(std::size_t i);

  int width_;
  int height_;
  const std::array<std::string, 256>& glyphs_;
  std::array<char, 256> one_byte_{};  // the glyphs of one byte (none is NUL), else 0
  std::string bytes_;
  TerminalCursor cursor_;
  Style style_;
  bool style_known_ = false;
  std::vector<Spot> spots_;
  std::vector<int> rows_;  // screen row (from shift_) -> row of spots_
  int shift_ = 0;
  std::vector<Span> drawn_;  // by row of spots_: the span drawn since the last settle
  // The screen rows that may have a span drawn, from the top one to the bottom one; none
  // when the top is below the bottom.
  int drawn_top_;
  int drawn_bottom_ = -1;
  std::vector<Cell> pending_;         // the cells of a settle
  std::vector<Style> styles_;         // their colours, in the order they are sent
  std::vector<Spot> blank_row_;       // a row scrolled in, blank in the background set
  uint16_t last_attribute_ = 0xFFFF;  // the last attribute drawn, and its style
  Style last_style_;
  bool monochrome_ = false;
};

}  // namespace console::stream
