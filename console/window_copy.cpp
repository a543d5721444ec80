#include "console/window_copy.hpp"

#include "console/console.hpp"
#include "console/rect_move.hpp"
#include "console/window_copy_hooks.hpp"

namespace console {
namespace {

// The copy of the window: its cells row by row.
Rect Window;
int Width = 0;
std::vector<uint16_t> Cells;

uint16_t* At(int x, int y) {
  if (x < Window.left || x > Window.right || y < Window.top || y > Window.bottom) return nullptr;
  return &Cells[static_cast<std::size_t>((y - Window.top) * Width + (x - Window.left))];
}

uint16_t CellOf(uint8_t character, uint16_t attribute) {
  return static_cast<uint16_t>(character | (attribute & 0xFF) << 8);
}

}  // namespace

bool WindowCopyKept = false;

void KeepWindowCopy() {
  WindowCopyKept = true;
  Window = CONSOLEINFO.window;
  Width = Window.right - Window.left + 1;
  Cells.assign(static_cast<std::size_t>(Width * (Window.bottom - Window.top + 1)),
               CellOf(' ', CONSOLEINFO.attribute));
}

void DropWindowCopy() {
  WindowCopyKept = false;
  Cells.clear();
}

WindowScreen TakeWindowScreen() {
  return WindowScreen{Cells, CurrentPlatform().Cursor()};
}

void ShowWindowScreen(const WindowScreen& screen) {
  Platform& platform = CurrentPlatform();
  for (std::size_t i = 0; i < Cells.size() && i < screen.cells.size(); ++i) {
    if (Cells[i] == screen.cells[i]) continue;
    const auto code = static_cast<uint8_t>(screen.cells[i] & 0xFF);
    const auto attribute = static_cast<uint16_t>(screen.cells[i] >> 8);
    const Coord where{static_cast<int16_t>(Window.left + static_cast<int>(i) % Width),
                      static_cast<int16_t>(Window.top + static_cast<int>(i) / Width)};
    platform.WriteCells(where, &code, 1, attribute);
    Cells[i] = screen.cells[i];
  }
  platform.SetCursor(screen.cursor);
}

void CopyCells(Coord where, const uint8_t* characters, int count, uint16_t attribute) {
  for (int i = 0; i < count; ++i)
    if (uint16_t* cell = At(where.x + i, where.y)) *cell = CellOf(characters[i], attribute);
}

void CopyScroll(Rect source, Rect clip, Coord dest, uint16_t fill_attribute) {
  MoveRect(
      source, clip, dest, CellOf(' ', fill_attribute), [](int x, int y) { return At(x, y); },
      [](int x, int y, uint16_t cell) { *At(x, y) = cell; });
}

}  // namespace console
