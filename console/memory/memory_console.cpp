#include "console/memory/memory_console.hpp"

#include <algorithm>

#include "console/rect_move.hpp"

namespace console {

MemoryConsole::MemoryConsole(int width, int height, Rect window, uint16_t attribute)
    : width_(width),
      height_(height),
      window_(window),
      attribute_(attribute),
      cells_(static_cast<std::size_t>(width * height), Cell{' ', attribute}) {}

void MemoryConsole::GetScreenInfo(ScreenInfo& info) {
  info.size = Coord{static_cast<int16_t>(width_), static_cast<int16_t>(height_)};
  info.cursor = cursor_;
  info.attribute = attribute_;
  info.window = window_;
}

void MemoryConsole::SetCursor(Coord where) {
  if (Inside(where.x, where.y)) cursor_ = where;
}

void MemoryConsole::WriteCell(Coord where, uint8_t character, uint16_t attribute) {
  if (!Inside(where.x, where.y)) return;
  At(where.x, where.y) = Cell{character, attribute};
}

void MemoryConsole::ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                               uint16_t fill_attribute) {
  MoveRect(
      source, clip, dest, Cell{fill_char, fill_attribute},
      [this](int x, int y) { return Inside(x, y) ? &At(x, y) : nullptr; },
      [this](int x, int y, const Cell& cell) { At(x, y) = cell; });
}

uint32_t MemoryConsole::PendingInputEvents() {
  return static_cast<uint32_t>(input_.size());
}

InputEvent MemoryConsole::ReadInputEvent() {
  InputEvent event = input_.front();
  input_.pop_front();
  return event;
}

void MemoryConsole::WaitForInput() {
  ++waits_;
  last_timeout_ = -1;
  if (on_wait_ != nullptr) on_wait_(*this);
}

void MemoryConsole::WaitForInputAtMost(uint32_t timeout_ms) {
  ++waits_;
  last_timeout_ = timeout_ms;
  if (on_wait_ != nullptr) on_wait_(*this);
}

bool MemoryConsole::InputEnded() {
  return ended_ && input_.empty();
}

std::string MemoryConsole::Row(int y, int from_x, int count) const {
  std::string text;
  const int end = count < 0 ? width_ : std::min(width_, from_x + count);
  for (int x = from_x; x < end; ++x)
    text.push_back(static_cast<char>(cells_[static_cast<std::size_t>(y * width_ + x)].character));
  return text;
}

}  // namespace console
