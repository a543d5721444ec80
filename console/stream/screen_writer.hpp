// Builds the bytes that bring a terminal's screen to what the layer drew, in one buffer, so
// that a whole frame goes out in a single write. At each wait it sends what changed, in
// three stages, each of its own:
//   1. What changed: the screen model (screen_model.hpp) holds what the terminal shows and
//      what was drawn since; the cells that differ come out in screen order.
//   2. In what order: colour by colour, each colour in the order it first appears, its
//      cells in screen order; a blank over the default background looks the same in any
//      colour, so blanks go with whichever colour is set.
//   3. How it is encoded: a colour code only on a change, in its shortest form (style.hpp);
//      the cursor's cheapest motion (cursor_motion.hpp), or, when it costs less, crossing to
//      the next cell by drawing the cells in between (the crossing rule); each cell's glyph.
// A scroll settles first, so that a line written on the bottom row goes out as itself
// before the terminal's own scroll moves it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/platform.hpp"
#include "console/stream/cursor_motion.hpp"
#include "console/stream/screen_model.hpp"
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
  // The layer's move of a rectangle (Platform::ScrollRect): full-width rows up by one is the
  // terminal's own scroll; any other move is drawn again, cell by cell.
  void ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_code, uint16_t fill);
  // Raw bytes (a terminal mode) to go out with the next frame, after what is drawn so far.
  void Append(std::string_view raw);
  // Someone else may have set the colours: send them in full next time.
  void ForgetColours();
  // Someone else may have written on the screen: send every cell drawn from now on.
  void ForgetScreen();

  // Sends what changed: done once per wait, and before a scroll.
  void Settle();
  // Settles, then takes the cursor to (X, Y).
  void MoveTo(int x, int y);
  // Back to the terminal's default colours, if the writer changed them.
  void ResetColours();
  // The bytes sent so far, taken out of the writer.
  std::string TakeBytes();
  // A whole frame: everything drawn since the last one, the cursor left at CURSOR; with
  // FINAL, the terminal's default colours set again too, as the last output of a run.
  std::string TakeFrame(Coord cursor, bool final);

  bool colours_changed() const { return !(style_known_ && style_ == Style{}); }

 private:
  // The colour of a blank, which any colour draws alike.
  static constexpr uint16_t kAny = 0xFFFF;
  // A blank over the default background, not underlined: any colour with that background
  // draws it alike.
  static bool Free(const Change& change) {
    return change.code == ' ' && change.style.background < 0 && !change.style.underline;
  }
  // A blank drawn in the colour set now looks like any other: default background, no line.
  bool BlanksShowPlain() const { return style_.background < 0 && !style_.underline; }
  // The change at (X, Y) of the settle under way; -1 for none.
  int32_t& PendingAt(int x, int y) { return pending_at_[static_cast<std::size_t>(y * width_ + x)]; }

  // Stage 2: the colours of the changes, in the order they first appear.
  void OrderByColour();
  // Stage 3: each colour's cells, then the blanks left over.
  void Send();
  // Sends the change I in the colour set now, with the blanks around it and the
  // cells of its colour after it, from one move.
  void SendRun(std::size_t i);
  // The crossing rule: from the cursor, on its row, to column TO by drawing the cells in
  // between as blanks, when that costs fewer bytes than a move. Blanks still to be sent
  // cost nothing extra; a blank the terminal shows, or one sent already, a byte; and so
  // does a blank standing in for a cell of another colour, which that colour draws over
  // later in the same write. The blanks to draw, with the cursor taken as at TO; 0 when
  // moving costs less.
  int CrossByDrawing(int to, int y);

  void SetStyle(const Style& style);
  void Move(int x, int y) {
    if (!cursor_.At(x, y)) MoveFar(x, y);
  }
  void MoveFar(int x, int y);

  int width_;
  int height_;
  const std::array<std::string, 256>& glyphs_;
  std::array<char, 256> one_byte_{};  // the glyphs of one byte (none is NUL), else 0
  ScreenModel model_;
  std::string bytes_;
  TerminalCursor cursor_;
  Style style_;
  bool style_known_ = false;
  // A settle's changes, in screen order; for each, its colour's place in colours_ (kAny
  // for a blank) and whether it is sent; and by screen cell, the change there, or -1.
  std::vector<Change> changes_;
  std::vector<uint16_t> colour_;
  std::vector<uint8_t> done_;
  std::vector<int32_t> pending_at_;
  std::vector<Style> colours_;        // the colours of a settle, in the order they are sent
  uint16_t last_attribute_ = 0xFFFF;  // the last attribute drawn, and its style
  Style last_style_;
  bool monochrome_ = false;
};

}  // namespace console::stream
