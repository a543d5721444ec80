#include "console/window_copy.hpp"

#include "console/console.hpp"
#include "console/rect_move.hpp"

namespace console {
namespace {

// Stands between the layer and its console, and keeps a copy of the window's cells.
class KeptWindow : public Platform {
 public:
  explicit KeptWindow(Platform& console) : console_(console) {
    window_ = CONSOLEINFO.window;
    width_ = window_.right - window_.left + 1;
    const int height = window_.bottom - window_.top + 1;
    const auto blank = static_cast<uint16_t>(' ' | (CONSOLEINFO.attribute & 0xFF) << 8);
    cells_.assign(static_cast<std::size_t>(width_ * height), blank);
  }

  void GetScreenInfo(ScreenInfo& info) override { console_.GetScreenInfo(info); }
  void SetCursor(Coord where) override { console_.SetCursor(where); }
  Coord Cursor() override { return console_.Cursor(); }
  void WriteCell(Coord where, uint8_t character, uint16_t attribute) override {
    if (uint16_t* cell = At(where.x, where.y))
      *cell = static_cast<uint16_t>(character | (attribute & 0xFF) << 8);
    console_.WriteCell(where, character, attribute);
  }
  void WriteCells(Coord where, const uint8_t* characters, int count, uint16_t attribute) override {
    for (int i = 0; i < count; ++i)
      if (uint16_t* cell = At(where.x + i, where.y))
        *cell = static_cast<uint16_t>(characters[i] | (attribute & 0xFF) << 8);
    console_.WriteCells(where, characters, count, attribute);
  }
  void ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                  uint16_t fill_attribute) override {
    const auto fill = static_cast<uint16_t>(fill_char | (fill_attribute & 0xFF) << 8);
    MoveRect(
        source, clip, dest, fill, [this](int x, int y) { return At(x, y); },
        [this](int x, int y, uint16_t cell) { *At(x, y) = cell; });
    console_.ScrollRect(source, clip, dest, fill_char, fill_attribute);
  }
  uint32_t PendingInputEvents() override { return console_.PendingInputEvents(); }
  InputEvent ReadInputEvent() override { return console_.ReadInputEvent(); }
  void WaitForInput() override { console_.WaitForInput(); }
  void WaitForInputAtMost(uint32_t timeout_ms) override { console_.WaitForInputAtMost(timeout_ms); }
  uint64_t NowMs() override { return console_.NowMs(); }
  bool InputEnded() override { return console_.InputEnded(); }
  void FinalFlush() override { console_.FinalFlush(); }
  void Narrate(std::string_view kind, std::string_view sentence) override {
    console_.Narrate(kind, sentence);
  }
  bool Narrates() override { return console_.Narrates(); }

  WindowScreen Take() {
    ScreenInfo info{};
    console_.GetScreenInfo(info);
    return WindowScreen{cells_, info.cursor};
  }

  void Show(const WindowScreen& screen) {
    for (std::size_t i = 0; i < cells_.size() && i < screen.cells.size(); ++i) {
      if (cells_[i] == screen.cells[i]) continue;
      const auto x = static_cast<int16_t>(window_.left + static_cast<int>(i) % width_);
      const auto y = static_cast<int16_t>(window_.top + static_cast<int>(i) / width_);
      WriteCell(Coord{x, y}, screen.cells[i] & 0xFF, screen.cells[i] >> 8);
    }
    console_.SetCursor(screen.cursor);
  }

 private:
  uint16_t* At(int x, int y) {
    if (x < window_.left || x > window_.right || y < window_.top || y > window_.bottom)
      return nullptr;
    return &cells_[static_cast<std::size_t>((y - window_.top) * width_ + (x - window_.left))];
  }

  Platform& console_;
  Rect window_;
  int width_ = 0;
  std::vector<uint16_t> cells_;
};

// Never destroyed while in use: the exit's flush goes through it.
KeptWindow* KEPT = nullptr;

}  // namespace

void KeepWindowCopy() {
  if (&CurrentPlatform() == KEPT) return;
  delete KEPT;  // a copy of a console that the layer no longer uses
  KEPT = new KeptWindow(CurrentPlatform());
  SetPlatform(*KEPT);
}

WindowScreen TakeWindowScreen() {
  return KEPT->Take();
}

void ShowWindowScreen(const WindowScreen& screen) {
  KEPT->Show(screen);
}

}  // namespace console
