#include "console/windows/windows_console.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "console/rect_move.hpp"
#include "console/stream/stream_console.hpp"
#include "console/windows/windows_keys.hpp"

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

// The console's screen buffer, drawn through a picture of its window in one batch per wait.
class ScreenConsole : public Platform {
 public:
  ScreenConsole(ConsoleApi& api, const ScreenInfo& info, const Cp866High& high,
                std::unique_ptr<KeySource> keys);

  void GetScreenInfo(ScreenInfo& info) override {
    info = info_;
    info.cursor = cursor_;
  }
  void SetCursor(Coord where) override;
  Coord Cursor() override { return cursor_; }
  void WriteCell(Coord where, uint8_t character, uint16_t attribute) override;
  void ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                  uint16_t fill_attribute) override;
  uint32_t PendingInputEvents() override { return keys_->Pending(); }
  InputEvent ReadInputEvent() override { return keys_->Read(); }
  void WaitForInput() override { WaitForInputAtMost(ConsoleApi::kForever); }
  void WaitForInputAtMost(uint32_t timeout_ms) override {
    Flush();
    keys_->Wait(timeout_ms);
  }
  uint64_t NowMs() override { return api_.NowMs(); }
  bool InputEnded() override { return keys_->Ended(); }
  void FinalFlush() override { Flush(); }

 private:
  bool InWindow(Coord where) const {
    return where.x >= info_.window.left && where.x <= info_.window.right &&
           where.y >= info_.window.top && where.y <= info_.window.bottom;
  }
  std::size_t IndexOf(Coord where) const {
    return static_cast<std::size_t>((where.y - info_.window.top) * width_ +
                                    (where.x - info_.window.left));
  }
  void MarkDirty(int row, int first, int last);
  // Sends what has been drawn since the last wait, and the cursor.
  void Flush();

  ConsoleApi& api_;
  ScreenInfo info_;
  std::unique_ptr<KeySource> keys_;
  std::array<char16_t, 256> utf16_{};  // the UTF-16 glyph of every code
  Coord cursor_;
  // The window as it will be, and what of it the console lacks.
  int width_;
  int height_;
  std::vector<ConsoleCell> shadow_;
  std::vector<std::pair<int, int>> dirty_;  // per window row: first and last column, or -1
  int pending_scroll_ = 0;                  // whole-window scrolls by one row, not yet sent
  ConsoleCell scroll_fill_;
  bool cursor_sent_ = false;
};

ScreenConsole::ScreenConsole(ConsoleApi& api, const ScreenInfo& info, const Cp866High& high,
                             std::unique_ptr<KeySource> keys)
    : api_(api),
      info_(info),
      keys_(std::move(keys)),
      cursor_(info.cursor),
      width_(info.window.right - info.window.left + 1),
      height_(info.window.bottom - info.window.top + 1),
      shadow_(api_.ReadOutput(info.window)),
      dirty_(static_cast<std::size_t>(height_), {-1, -1}) {
  for (std::size_t code = 0; code < utf16_.size(); ++code)
    utf16_[code] = Utf16Of(Cp866Glyph(static_cast<uint8_t>(code), high));
  shadow_.resize(static_cast<std::size_t>(width_ * height_));
}

void ScreenConsole::SetCursor(Coord where) {
  if (where.x < 0 || where.y < 0 || where.x >= info_.size.x || where.y >= info_.size.y) return;
  cursor_ = where;
  cursor_sent_ = false;
}

void ScreenConsole::MarkDirty(int row, int first, int last) {
  auto& [from, to] = dirty_[static_cast<std::size_t>(row)];
  from = from < 0 ? first : std::min(from, first);
  to = std::max(to, last);
}

void ScreenConsole::WriteCell(Coord where, uint8_t character, uint16_t attribute) {
  if (!InWindow(where)) return;
  shadow_[IndexOf(where)] = ConsoleCell{utf16_[character], attribute};
  const int column = where.x - info_.window.left;
  MarkDirty(where.y - info_.window.top, column, column);
}

void ScreenConsole::ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                               uint16_t fill_attribute) {
  const Rect window = info_.window;
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

void ScreenConsole::Flush() {
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

// A file or a pipe: the byte stream of the terminal platform, its keys from KEYS.
class WindowsStreamConsole : public stream::StreamConsole {
 public:
  WindowsStreamConsole(ConsoleApi& api, const Cp866High& high, std::unique_ptr<KeySource> keys)
      : api_(api), keys_(std::move(keys)), glyphs_(Utf8Glyphs(high)) {
    OpenScreen(kStreamColumns, kStreamRows, glyphs_);
    writer().AssumeCursor(0, 0);
  }

  void WaitForInput() override { WaitForInputAtMost(ConsoleApi::kForever); }
  void WaitForInputAtMost(uint32_t timeout_ms) override {
    Flush();
    Pump();
    if (!KeysWaiting()) keys_->Wait(timeout_ms);
  }
  uint64_t NowMs() override { return api_.NowMs(); }
  bool InputEnded() override { return keys_->Ended() && !KeysWaiting(); }

 private:
  void Write(std::string_view bytes) override { api_.WriteBytes(bytes); }
  void ColoursChanged(bool changed) override { api_.ColoursChanged(changed); }
  void Pump() override {
    while (keys_->Pending() > 0) {
      const InputEvent event = keys_->Read();
      if (event.kind == EventKind::kKey) Queue(event.key);
    }
  }

  ConsoleApi& api_;
  std::unique_ptr<KeySource> keys_;
  std::array<std::string, 256> glyphs_;
};

}  // namespace

std::unique_ptr<Platform> OpenWindowsConsole(ConsoleApi& api, const Cp866High& high,
                                             bool monochrome) {
  std::unique_ptr<KeySource> keys;
  if (api.InputIsConsole())
    keys = std::make_unique<ConsoleKeys>(api, high);
  else
    keys = std::make_unique<ByteKeys>(api, high);
  ScreenInfo info;
  if (api.GetScreenBufferInfo(info))
    return std::make_unique<ScreenConsole>(api, info, high, std::move(keys));
  auto console = std::make_unique<WindowsStreamConsole>(api, high, std::move(keys));
  console->SetMonochrome(monochrome);
  return console;
}

}  // namespace console::windows
