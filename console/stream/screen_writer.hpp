// Builds the bytes that bring a terminal's screen to what the layer drew: cells, cursor
// moves, colours and scrolling, collected in one buffer so that a whole frame goes out in
// a single write. It tracks where the terminal's cursor really is and which colours are
// set, so that it sends colour codes only when they change and moves the cursor the
// cheapest way.
//
// Cells drawn between two scrolls are held back and sent together, colour by colour: all
// the cells of one colour, then the next, each in screen order. A blank over the default
// background looks the same in any colour, so blanks go with whichever colour is set and
// bridge the gaps between its cells.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "console/platform.hpp"

namespace console::stream {

// Colours as the terminal sees them: -1 is the terminal's own default.
struct Style {
  int8_t foreground = -1;
  int8_t background = -1;
  bool conceal = false;
  int32_t rgb = -1;  // a 24-bit foreground (0xRRGGBB) in place of FOREGROUND, or -1
  friend bool operator==(Style, Style) = default;
};

// The attribute the terminal reports as its current one: its own default colours. It is
// the one attribute with the background-intensity bit set over background 0; any colour
// the program picks with TEXTCOLOR clears that bit.
constexpr uint16_t kDefaultColours = 0x87;

// PC attribute byte (bits 0-2 blue, green, red, bit 3 intensity; bits 4-6 background, bit
// 7 background intensity) to terminal colours. Background 0 is the terminal's default
// background and foreground 7, the normal text colour, its default foreground; foreground 0
// over the default background is drawn black and concealed, so that it looks empty on dark
// and light themes alike.
Style StyleOf(uint16_t attribute);

// The SGR sequence that changes FROM into TO (empty when they are equal); FROM_KNOWN false
// means the terminal's colours are unknown and everything is set.
std::string StyleChange(const Style& from, bool from_known, const Style& to);

class ScreenWriter {
 public:
  ScreenWriter(int width, int height, const std::array<std::string, 256>& glyphs);

  // The terminal's default background is RGB (0xRRGGBB): hidden cells are drawn in exactly
  // that colour, concealed too, so that they look empty even where concealing is ignored.
  void SetHiddenColour(uint32_t rgb) { hidden_rgb_ = static_cast<int32_t>(rgb); }
  // The terminal's cursor is at (X, Y); -1 when unknown.
  void AssumeCursor(int x, int y);
  // Draws CODE in the cell (X, Y) in ATTRIBUTE.
  void PutCell(int x, int y, uint8_t code, uint16_t attribute);
  // Moves full-width rows TOP to BOTTOM up by one, the bottom one blank in FILL.
  void ScrollUp(int top, int bottom, uint16_t fill);
  // The layer's move of a rectangle (Platform::ScrollRect), as a terminal can do it: the
  // layer only ever moves full-width rows up by one; any other move is left undone.
  void ScrollRect(Rect source, Rect clip, Coord dest, uint16_t fill);
  void MoveTo(int x, int y);
  // Back to the terminal's default colours, if the writer changed them.
  void ResetColours();
  // Someone else may have set the colours: send them in full next time.
  void ForgetColours();

  // Everything drawn so far, held-back cells included.
  std::string& bytes() {
    Settle();
    return bytes_;
  }
  bool colours_changed() const { return !(style_known_ && style_ == Style{}); }

 private:
  struct Cell {
    int x;
    int y;
    uint8_t code;
    Style style;
    bool done;
  };
  // A blank over the default background: any colour with that background draws it alike.
  static bool Free(const Cell& cell) { return cell.code == ' ' && cell.style.background < 0; }

  void SetStyle(const Style& style);
  std::string RelativeMove(int x, int y) const;
  std::string Motion(int x, int y) const;
  void Move(int x, int y);
  void Draw(Cell& cell);
  // Sends the held-back cells; the cursor goes to (END_X, END_Y) next, when known.
  void Settle(int end_x = -1, int end_y = -1);
  // Sends them colour by colour in the order of STYLES, then the blanks left over.
  void Send(const std::vector<Style>& styles);
  // What a trial Send changes, to be put back.
  struct State {
    std::size_t size;
    int x;
    int y;
    bool cursor_known;
    bool pending_wrap;
    Style style;
    bool style_known;
  };
  State SaveState() const;
  void RestoreState(const State& state);
  static constexpr std::size_t kMaxOrderedStyles = 5;
  // Sends the cells from FIRST to LAST (indices into pending_, one row, in column order)
  // that PICK selects, in the colour set now; blanks between them when that is cheaper
  // than moving over them.
  template <typename Pick>
  void SendRow(std::size_t first, std::size_t last, Pick pick);

  int width_;
  int height_;
  const std::array<std::string, 256>& glyphs_;
  std::string bytes_;
  int x_ = 0;
  int y_ = 0;
  bool cursor_known_ = true;
  // The last column was just written: the terminal's cursor stays on it with a wrap
  // pending, which the next printable character would carry out. Only CR and absolute
  // moves are trusted to cancel it.
  bool pending_wrap_ = false;
  Style style_;
  bool style_known_ = false;
  std::vector<Cell> pending_;
  int32_t hidden_rgb_ = -1;
};

}  // namespace console::stream
