#include "console/stream/screen_writer.hpp"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <utility>

#include "console/stream/short_sequence.hpp"

namespace console::stream {

ScreenWriter::ScreenWriter(int width, int height, const std::array<std::string, 256>& glyphs)
    : width_(width),
      height_(height),
      glyphs_(glyphs),
      model_(width, height),
      pending_at_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), -1) {
  for (std::size_t code = 0; code < glyphs.size(); ++code)
    if (glyphs[code].size() == 1) one_byte_[code] = glyphs[code][0];
}

void ScreenWriter::ForgetScreen() {
  Settle();
  model_.Forget();
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
  // A hidden cell is a blank; without colours a blank stays plain, for underlined, a
  // field's padding would show a line.
  if (count <= 0) return;
  if (Hidden(attribute)) {
    model_.Draw(
        x, y, count, [](int) { return uint8_t{' '}; }, [](uint8_t) { return Style{}; });
    return;
  }
  if (monochrome_) {
    const Style style = MonochromeStyleOf(attribute);
    model_.Draw(
        x, y, count, [codes](int i) { return codes[i]; },
        [style](uint8_t code) { return code == ' ' ? Style{} : style; });
    return;
  }
  // Runs of cells share their attribute.
  if (attribute != last_attribute_) {
    last_attribute_ = attribute;
    last_style_ = StyleOf(attribute);
  }
  const Style style = last_style_;
  model_.Draw(
      x, y, count, [codes](int i) { return codes[i]; }, [style](uint8_t) { return style; });
}

// ---- Stage 1: what changed ------------------------------------------------------------

void ScreenWriter::Settle() {
  model_.TakeChanges(changes_);
  if (changes_.empty()) return;
  colour_.assign(changes_.size(), kAny);
  done_.assign(changes_.size(), false);
  for (std::size_t i = 0; i < changes_.size(); ++i)
    PendingAt(changes_[i].x, changes_[i].y) = static_cast<int32_t>(i);
  OrderByColour();
  Send();
  for (const Change& change : changes_) PendingAt(change.x, change.y) = -1;
  changes_.clear();
}

// ---- Stage 2: in what order -------------------------------------------------------------

void ScreenWriter::OrderByColour() {
  colours_.clear();
  std::size_t last = 0;
  for (std::size_t i = 0; i < changes_.size(); ++i) {
    const Change& change = changes_[i];
    if (Free(change)) continue;
    // Neighbours mostly share their colour: the last one found is tried first.
    if (last >= colours_.size() || !(colours_[last] == change.style)) {
      last = static_cast<std::size_t>(std::find(colours_.begin(), colours_.end(), change.style) -
                                      colours_.begin());
      if (last == colours_.size()) colours_.push_back(change.style);
    }
    // As many colours as attributes, 256 at most, under kAny.
    colour_[i] = static_cast<uint16_t>(last);
  }
}

// ---- Stage 3: how it is encoded ---------------------------------------------------------

void ScreenWriter::Send() {
  for (std::size_t c = 0; c < colours_.size(); ++c) {
    SetStyle(colours_[c]);
    for (std::size_t i = 0; i < changes_.size(); ++i)
      if (colour_[i] == c && !done_[i]) SendRun(i);
  }
  // The blanks left over, in the colour set now when its background will do.
  const auto blank = std::find(done_.begin(), done_.end(), false);
  if (blank == done_.end()) return;
  if (!style_known_ || !BlanksShowPlain())
    SetStyle(changes_[static_cast<std::size_t>(blank - done_.begin())].style);
  for (std::size_t i = 0; i < changes_.size(); ++i)
    if (!done_[i]) SendRun(i);
}

int ScreenWriter::CrossByDrawing(int to, int y) {
  if (!cursor_.known || cursor_.pending_wrap || cursor_.y != y || cursor_.x >= to) return 0;
  // No move along the row costs more than the one straight right: once the cells in
  // between cost that much, crossing them cannot be cheaper.
  const std::size_t most = MoveRightSize(to - cursor_.x);
  const ScreenModel::ShownRow shown = model_.Shown(y);
  std::size_t extra = 0;
  for (int x = cursor_.x; x < to && extra < most; ++x) {
    const int32_t k = PendingAt(x, y);
    if (k < 0) {
      if (!shown.PlainBlank(x)) return 0;
      ++extra;
    } else {
      const bool free = Free(changes_[static_cast<std::size_t>(k)]);
      const bool done = done_[static_cast<std::size_t>(k)];
      if (done && !free) return 0;
      extra += free && !done ? 0 : 1;
    }
  }
  // Any move right takes three bytes at least.
  constexpr std::size_t kLeastMove = 3;
  if (extra >= most || (extra >= kLeastMove && extra >= cursor_.MotionSize(to, y))) return 0;
  for (int x = cursor_.x; x < to; ++x) {
    const int32_t k = PendingAt(x, y);
    if (k >= 0 && Free(changes_[static_cast<std::size_t>(k)]))
      done_[static_cast<std::size_t>(k)] = true;
  }
  const int blanks = to - cursor_.x;
  cursor_.x = to;
  return blanks;
}

void ScreenWriter::SendRun(std::size_t i) {
  const int y = changes_[i].y;
  // A blank still to be sent at X, which can go with the cells next to it.
  auto free_blank = [&](int x) {
    const int32_t k = PendingAt(x, y);
    return k >= 0 && Free(changes_[static_cast<std::size_t>(k)]) &&
           !done_[static_cast<std::size_t>(k)];
  };
  int from = changes_[i].x;
  int blanks = 0;  // crossed to FROM, to be drawn before the run
  if (BlanksShowPlain()) {
    // Blanks still to be sent just before the cell go with it: they cost their bytes now or
    // later, and now they need no move of their own.
    while (from > 0 && free_blank(from - 1)) --from;
    blanks = CrossByDrawing(from, y);
  }
  // And so do the blanks still to be sent just after it, and the cells of this colour next
  // to them.
  int to = changes_[i].x;
  while (to + 1 < width_ && PendingAt(to + 1, y) >= 0) {
    const auto next = static_cast<std::size_t>(PendingAt(to + 1, y));
    if (done_[next] || !(Free(changes_[next]) ? BlanksShowPlain() : changes_[next].style == style_))
      break;
    ++to;
  }
  // The run, from one move, its bytes gathered and appended a piece at a time.
  Move(from, y);
  char piece[64];
  std::size_t size = 0;
  for (; blanks > 0; --blanks) {
    if (size == sizeof piece) bytes_.append(piece, std::exchange(size, 0));
    piece[size++] = ' ';
  }
  for (int x = from; x <= to; ++x) {
    const auto k = static_cast<std::size_t>(PendingAt(x, y));
    const uint8_t code = changes_[k].code;
    const char byte = one_byte_[code];
    if (size == sizeof piece || (byte == 0 && size > 0))
      bytes_.append(piece, std::exchange(size, 0));
    if (byte != 0)
      piece[size++] = byte;
    else
      bytes_ += glyphs_[code];
    done_[k] = true;
  }
  bytes_.append(piece, size);
  if (to + 1 < width_)
    cursor_.x = to + 1;
  else
    cursor_.pending_wrap = true;
}

// ---- Scrolling --------------------------------------------------------------------------

void ScreenWriter::ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_code,
                              uint16_t fill) {
  const bool up_one = dest.y == source.top - 1 && dest.x == source.left && clip.top == dest.y &&
                      clip.bottom == source.bottom;
  const bool full_width = clip.left <= 0 && clip.right >= width_ - 1;
  const int top = std::max<int>(clip.top, 0);
  const int bottom = std::min<int>(clip.bottom, height_ - 1);
  if (up_one && full_width && top <= bottom) return ScrollUp(top, bottom, fill);
  // A move the terminal cannot make on its own: the cells it moves are drawn again.
  const Style fill_style = Hidden(fill)  ? Style{}
                           : monochrome_ ? MonochromeStyleOf(fill)
                                         : StyleOf(fill);
  model_.Move(source, clip, dest, Hidden(fill) ? ' ' : fill_code, fill_style);
}

void ScreenWriter::ScrollUp(int top, int bottom, uint16_t fill) {
  // What was drawn goes out first, where it was drawn: a line written on the bottom row, the
  // cursor on it, is then just its own bytes before the line feed.
  Settle();
  const bool whole_screen = top == 0 && bottom == height_ - 1;
  // The new row takes the current background colour, so set the fill's first.
  const Style fill_style = monochrome_ ? MonochromeStyleOf(fill) : StyleOf(fill);
  if (!style_known_ || style_.background != fill_style.background) SetStyle(fill_style);
  if (!whole_screen) {
    // A scrolling region, and back to the whole screen; both moves put the cursor home.
    ShortSequence region;
    region.Add("\x1b[");
    region.AddNumber(top + 1);
    region.Add(';');
    region.AddNumber(bottom + 1);
    region.Add('r');
    bytes_ += region.view();
    cursor_ = TerminalCursor{};
  }
  // A line feed on the bottom row scrolls, and on the whole screen the top row goes into
  // the terminal's scroll-back.
  Move(0, bottom);
  bytes_ += '\n';
  model_.ScrollUp(top, bottom, style_.background);
  if (!whole_screen) {
    bytes_ += "\x1b[r";
    cursor_ = TerminalCursor{};
  }
}

}  // namespace console::stream
