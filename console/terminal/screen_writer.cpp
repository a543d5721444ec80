#include "console/terminal/screen_writer.hpp"

namespace console::term {
namespace {

// PC colour bits are blue 1, green 2, red 4; ANSI's are red 1, green 2, blue 4.
int AnsiOf(int pc) { return ((pc & 1) << 2) | (pc & 2) | ((pc & 4) >> 2); }

void AppendNumber(std::string& out, int value) { out += std::to_string(value); }

// CSI n X, leaving out n when it is 1.
std::string Csi(int n, char final_byte) {
  std::string s = "\x1b[";
  if (n != 1) AppendNumber(s, n);
  s.push_back(final_byte);
  return s;
}

}  // namespace

Style StyleOf(uint16_t attribute) {
  const int foreground = attribute & 0x0F;
  const int background = (attribute >> 4) & 0x07;
  const bool bright_background = (attribute & 0x80) != 0;
  if (background == 0 && bright_background) return Style{};
  Style style;
  style.foreground = static_cast<int8_t>(foreground);
  if (background != 0)
    style.background = static_cast<int8_t>(background | (bright_background ? 8 : 0));
  style.conceal = foreground == 0 && background == 0;
  return style;
}

std::string StyleChange(const Style& from, bool from_known, const Style& to) {
  if (from_known && from == to) return {};
  if (to == Style{}) return "\x1b[m";
  std::string params;
  auto add = [&params](int code) {
    if (!params.empty()) params.push_back(';');
    AppendNumber(params, code);
  };
  if (!from_known) add(0);
  const Style base = from_known ? from : Style{};
  if (to.conceal != base.conceal) add(to.conceal ? 8 : 28);
  if (to.foreground != base.foreground) {
    if (to.foreground < 0) add(39);
    else add((to.foreground & 8 ? 90 : 30) + AnsiOf(to.foreground & 7));
  }
  if (to.background != base.background) {
    if (to.background < 0) add(49);
    else add((to.background & 8 ? 100 : 40) + AnsiOf(to.background & 7));
  }
  return "\x1b[" + params + "m";
}

ScreenWriter::ScreenWriter(int width, int height, const std::array<std::string, 256>& glyphs)
    : width_(width), height_(height), glyphs_(glyphs) {}

void ScreenWriter::AssumeCursor(int x, int y) {
  cursor_known_ = x >= 0 && y >= 0;
  x_ = x;
  y_ = y;
  pending_wrap_ = false;
}

void ScreenWriter::SetStyle(const Style& style) {
  bytes_ += StyleChange(style_, style_known_, style);
  style_ = style;
  style_known_ = true;
}

void ScreenWriter::ResetColours() {
  if (colours_changed()) SetStyle(Style{});
}

// The motion from the known cursor to (X, Y) in relative terms; empty when there is none
// to be had.
std::string ScreenWriter::RelativeMove(int x, int y) const {
  if (!cursor_known_) return {};
  std::string move;
  int column = x_;
  if (pending_wrap_ || x == 0) {
    if (x != 0) return {};
    if (column != 0 || pending_wrap_) move += '\r';
    column = 0;
  }
  const int dy = y - y_;
  if (dy > 0) {
    // LF goes down one row; only used in column 1, where a terminal that turns LF into
    // CR LF does the same. The target row is on the screen, so it never scrolls.
    if (column == 0 && dy <= 3) move.append(static_cast<std::size_t>(dy), '\n');
    else move += Csi(dy, 'B');
  } else if (dy < 0) {
    move += Csi(-dy, 'A');
  }
  const int dx = x - column;
  if (dx > 0) move += Csi(dx, 'C');
  if (dx < 0) move += -dx <= 3 ? std::string(static_cast<std::size_t>(-dx), '\b') : Csi(-dx, 'D');
  return move;
}

void ScreenWriter::MoveTo(int x, int y) {
  if (cursor_known_ && !pending_wrap_ && x == x_ && y == y_) return;
  std::string absolute = "\x1b[";
  if (y != 0 || x != 0) AppendNumber(absolute, y + 1);
  if (x != 0) {
    absolute.push_back(';');
    AppendNumber(absolute, x + 1);
  }
  absolute.push_back('H');
  const std::string relative = RelativeMove(x, y);
  const bool use_relative = !relative.empty() && relative.size() <= absolute.size();
  bytes_ += use_relative ? relative : absolute;
  x_ = x;
  y_ = y;
  cursor_known_ = true;
  pending_wrap_ = false;
}

void ScreenWriter::PutCell(int x, int y, uint8_t code, uint16_t attribute) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  MoveTo(x, y);
  SetStyle(StyleOf(attribute));
  bytes_ += glyphs_[code];
  if (x + 1 < width_) {
    x_ = x + 1;
  } else {
    pending_wrap_ = true;
  }
}

void ScreenWriter::ScrollUp(int top, int bottom, uint16_t fill) {
  // The new row takes the current background colour, so set the fill's first.
  const Style fill_style = StyleOf(fill);
  if (!style_known_ || style_.background != fill_style.background) SetStyle(fill_style);
  const bool whole_screen = top == 0 && bottom == height_ - 1;
  if (!whole_screen) {
    // A scrolling region, and back to the whole screen; both moves put the cursor home.
    bytes_ += "\x1b[" + std::to_string(top + 1) + ";" + std::to_string(bottom + 1) + "r";
    AssumeCursor(0, 0);
  }
  // A line feed on the bottom row scrolls, and on the whole screen the top row goes into
  // the terminal's scroll-back.
  MoveTo(0, bottom);
  bytes_ += '\n';
  if (!whole_screen) {
    bytes_ += "\x1b[r";
    AssumeCursor(0, 0);
  }
}

}  // namespace console::term
