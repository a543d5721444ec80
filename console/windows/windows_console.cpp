#include "console/windows/windows_console.hpp"

#include <algorithm>

#include "console/rect_move.hpp"

namespace console::windows {
namespace {

// A stream stands for a terminal of this size whose cursor starts at the top left, so
// that a capture replays in one, as on POSIX.
constexpr int kStreamColumns = 80;
constexpr int kStreamRows = 25;

char16_t Utf16Of(char32_t code_point) {
  // Every glyph of code page 866 is in the Basic Multilingual Plane.
  return code_point <= 0xFFFF ? static_cast<char16_t>(code_point) : u'?';
}

}  // namespace

WindowsConsole::WindowsConsole(ConsoleApi& api, const Cp866High& high) : api_(api), high_(high) {
  for (std::size_t code = 0; code < utf16_.size(); ++code)
    utf16_[code] = Utf16Of(Cp866Glyph(static_cast<uint8_t>(code), high_));

  console_out_ = api_.GetScreenBufferInfo(info_);
  if (console_out_) {
    cursor_ = info_.cursor;
    width_ = info_.window.right - info_.window.left + 1;
    height_ = info_.window.bottom - info_.window.top + 1;
    shadow_ = api_.ReadOutput(info_.window);
    shadow_.resize(static_cast<std::size_t>(width_ * height_));
    dirty_.assign(static_cast<std::size_t>(height_), {-1, -1});
  } else {
    glyphs_ = Utf8Glyphs(high_);
    OpenScreen(kStreamColumns, kStreamRows, glyphs_);
    writer().AssumeCursor(0, 0);
  }

  console_in_ = api_.InputIsConsole();
  if (!console_in_) {
    stream::DecoderOptions options;
    options.lf_is_enter = true;
    options.cp866_high = high_;
    decoder_ = std::make_unique<stream::KeyDecoder>(options);
    stream_keys_ = std::make_unique<stream::StreamKeys>(*decoder_);
  }
}

// ---- Output ----------------------------------------------------------------------------

void WindowsConsole::GetScreenInfo(ScreenInfo& info) {
  if (!console_out_) return StreamConsole::GetScreenInfo(info);
  info = info_;
  info.cursor = cursor_;
}

bool WindowsConsole::InWindow(Coord where) const {
  return where.x >= info_.window.left && where.x <= info_.window.right &&
         where.y >= info_.window.top && where.y <= info_.window.bottom;
}

std::size_t WindowsConsole::IndexOf(Coord where) const {
  return static_cast<std::size_t>((where.y - info_.window.top) * width_ +
                                  (where.x - info_.window.left));
}

void WindowsConsole::SetCursor(Coord where) {
  if (!console_out_) return StreamConsole::SetCursor(where);
  if (where.x < 0 || where.y < 0 || where.x >= info_.size.x || where.y >= info_.size.y) return;
  cursor_ = where;
  cursor_sent_ = false;
}

void WindowsConsole::MarkDirty(int row, int first, int last) {
  auto& [from, to] = dirty_[static_cast<std::size_t>(row)];
  from = from < 0 ? first : std::min(from, first);
  to = std::max(to, last);
}

void WindowsConsole::WriteCells(Coord where, const uint8_t* characters, int count,
                                uint16_t attribute) {
  if (!console_out_) return StreamConsole::WriteCells(where, characters, count, attribute);
  Platform::WriteCells(where, characters, count, attribute);
}

void WindowsConsole::WriteCell(Coord where, uint8_t character, uint16_t attribute) {
  if (!console_out_) return StreamConsole::WriteCell(where, character, attribute);
  if (!InWindow(where)) return;
  shadow_[IndexOf(where)] = ConsoleCell{utf16_[character], attribute};
  const int column = where.x - info_.window.left;
  MarkDirty(where.y - info_.window.top, column, column);
}

void WindowsConsole::ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                                uint16_t fill_attribute) {
  const Rect window = info_.window;
  if (!console_out_)
    return StreamConsole::ScrollRect(source, clip, dest, fill_char, fill_attribute);
  const ConsoleCell fill{utf16_[fill_char], fill_attribute};
  const bool whole_window = source.left == window.left && source.right == window.right &&
                            source.top == window.top + 1 && source.bottom == window.bottom &&
                            clip == window && dest == Coord{window.left, window.top};
  if (whole_window && (pending_scroll_ == 0 || fill == scroll_fill_)) {
    // The console scrolls by itself, all scrolls of the batch in one call; rows drawn but not
    // yet sent move up with the picture.
    ++pending_scroll_;
    scroll_fill_ = fill;
    std::rotate(shadow_.begin(), shadow_.begin() + width_, shadow_.end());
    std::fill(shadow_.end() - width_, shadow_.end(), fill);
    std::rotate(dirty_.begin(), dirty_.begin() + 1, dirty_.end());
    dirty_.back() = {-1, -1};
    return;
  }
  // Any other move: done on the picture, and the rows it touches are sent again.
  auto at = [this](int x, int y) -> const ConsoleCell* {
    const Coord where{static_cast<int16_t>(x), static_cast<int16_t>(y)};
    return InWindow(where) ? &shadow_[IndexOf(where)] : nullptr;
  };
  auto put = [this, window](int x, int y, const ConsoleCell& cell) {
    shadow_[IndexOf(Coord{static_cast<int16_t>(x), static_cast<int16_t>(y)})] = cell;
    MarkDirty(y - window.top, x - window.left, x - window.left);
  };
  MoveRect(source, clip, dest, fill, at, put);
}

void WindowsConsole::FlushConsole() {
  const Rect window = info_.window;
  if (pending_scroll_ >= height_) {
    // Everything scrolled away: the picture is all there is.
    for (int row = 0; row < height_; ++row) MarkDirty(row, 0, width_ - 1);
  } else if (pending_scroll_ > 0) {
    const Rect source{window.left, static_cast<int16_t>(window.top + pending_scroll_), window.right,
                      window.bottom};
    api_.ScrollScreenBuffer(source, window, Coord{window.left, window.top}, scroll_fill_);
  }
  pending_scroll_ = 0;
  // Runs of changed rows, each one rectangle as wide as their changes.
  for (int row = 0; row < height_;) {
    if (dirty_[static_cast<std::size_t>(row)].first < 0) {
      ++row;
      continue;
    }
    int last_row = row;
    int first = width_;
    int last = -1;
    for (; last_row < height_ && dirty_[static_cast<std::size_t>(last_row)].first >= 0;
         ++last_row) {
      first = std::min(first, dirty_[static_cast<std::size_t>(last_row)].first);
      last = std::max(last, dirty_[static_cast<std::size_t>(last_row)].second);
      dirty_[static_cast<std::size_t>(last_row)] = {-1, -1};
    }
    std::vector<ConsoleCell> cells;
    for (int y = row; y < last_row; ++y)
      for (int x = first; x <= last; ++x)
        cells.push_back(shadow_[static_cast<std::size_t>(y * width_ + x)]);
    api_.WriteOutput(
        Rect{static_cast<int16_t>(window.left + first), static_cast<int16_t>(window.top + row),
             static_cast<int16_t>(window.left + last),
             static_cast<int16_t>(window.top + last_row - 1)},
        cells);
    row = last_row;
  }
  if (!cursor_sent_) {
    api_.SetCursorPosition(cursor_);
    cursor_sent_ = true;
  }
}

void WindowsConsole::FinalFlush() {
  if (console_out_) return FlushConsole();
  StreamConsole::FinalFlush();
}

// ---- Input -----------------------------------------------------------------------------

KeyEvent WindowsConsole::KeyOf(const ConsoleInput& input) const {
  int code = input.character >= 0xD800 && input.character <= 0xDFFF
                 ? -1
                 : ToCp866(static_cast<char32_t>(input.character), high_);
  // Esc without Alt is Esc, whatever character the event carries: Wine's console in a Unix
  // terminal gives it none.
  if (input.scan_code == scan::kEscape && (input.control_state & kAltPressed) == 0) code = 27;
  return MakeKey(input.scan_code, code < 0 ? 0 : static_cast<uint8_t>(code), input.control_state,
                 input.virtual_key, input.key_down);
}

uint32_t WindowsConsole::PendingInputEvents() {
  if (console_in_) return api_.NumberOfInputEvents();
  return StreamConsole::PendingInputEvents();
}

InputEvent WindowsConsole::ReadInputEvent() {
  if (!console_in_) return StreamConsole::ReadInputEvent();
  const ConsoleInput input = api_.ReadInput();
  if (!input.is_key) return InputEvent{EventKind::kOther, {}};
  return InputEvent{EventKind::kKey, KeyOf(input)};
}

void WindowsConsole::WaitForInput() {
  WaitForInputAtMost(ConsoleApi::kForever);
}

void WindowsConsole::WaitForInputAtMost(uint32_t timeout_ms) {
  if (console_out_)
    FlushConsole();
  else
    Flush();
  if (console_in_) {
    api_.WaitForInput(timeout_ms);
  } else if (!KeysWaiting() && !ended_) {
    PumpStream();
  }
}

void WindowsConsole::PumpStream() {
  std::vector<stream::Decoded> decoded;
  stream_keys_->Next(
      [this](uint8_t* buffer, std::size_t size) { return api_.ReadBytes(buffer, size); }, decoded);
  ended_ = stream_keys_->ended();
  for (const stream::Decoded& item : decoded)
    if (item.kind == stream::Decoded::Kind::kKey) Queue(item.key);
}

bool WindowsConsole::InputEnded() {
  return !console_in_ && ended_ && !KeysWaiting();
}

}  // namespace console::windows
