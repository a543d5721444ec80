// A console that lives in memory: a screen buffer of cells that may be larger than its
// window, and an input queue of events. Tests drive the layer through it.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "console/platform.hpp"

namespace console {

struct Cell {
  uint8_t character = ' ';
  uint16_t attribute = 0;
};

class MemoryConsole : public Platform {
 public:
  MemoryConsole(int width, int height, Rect window, uint16_t attribute);

  void GetScreenInfo(ScreenInfo& info) override;
  void SetCursor(Coord where) override;
  void WriteCell(Coord where, uint8_t character, uint16_t attribute) override;
  void ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                  uint16_t fill_attribute) override;
  uint32_t PendingInputEvents() override;
  InputEvent ReadInputEvent() override;
  void WaitForInput() override;
  // Records the time-out; the clock moves only when a test moves it (in its OnWait hook).
  void WaitForInputAtMost(uint32_t timeout_ms) override;
  uint64_t NowMs() override { return now_ms_; }
  bool InputEnded() override;
  void FinalFlush() override {}  // every cell is in place as soon as it is written

  // Test side.
  Cell& At(int x, int y) { return cells_[static_cast<std::size_t>(y * width_ + x)]; }
  std::string Row(int y, int from_x = 0, int count = -1) const;
  Coord cursor() const { return cursor_; }
  void PushKey(const KeyEvent& key) { input_.push_back(InputEvent{EventKind::kKey, key}); }
  void PushOther() { input_.push_back(InputEvent{EventKind::kOther, {}}); }
  std::size_t queued() const { return input_.size(); }
  // Runs before each wait, so a test can feed keys to a blocked READKEY.
  void OnWait(void (*hook)(MemoryConsole&)) { on_wait_ = hook; }
  void EndInput() { ended_ = true; }
  int waits() const { return waits_; }
  void AdvanceClock(uint64_t ms) { now_ms_ += ms; }
  // The time-out of the last timed wait; -1 when the last wait had none.
  int64_t last_timeout() const { return last_timeout_; }

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  int width_;
  int height_;
  Rect window_;
  uint16_t attribute_;
  Coord cursor_;
  std::vector<Cell> cells_;
  std::deque<InputEvent> input_;
  void (*on_wait_)(MemoryConsole&) = nullptr;
  bool ended_ = false;
  uint64_t now_ms_ = 0;
  int64_t last_timeout_ = -1;
  int waits_ = 0;
};

}  // namespace console
