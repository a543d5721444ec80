#include "console/window_copy.hpp"

#include "console/console.hpp"
#include "console/rect_move.hpp"

namespace console {
namespace {

// The copy of the window: its cells row by row.
Rect WINDOW;
int WIDTH = 0;
std::vector<uint16_t> CELLS;

uint16_t* At(int x, int y) {
  if (x < WINDOW.left || x > WINDOW.right || y < WINDOW.top || y > WINDOW.bottom) return nullptr;
  return &CELLS[static_cast<std::size_t>((y - WINDOW.top) * WIDTH + (x - WINDOW.left))];
}

uint16_t CellOf(uint8_t character, uint16_t attribute) {
  return static_cast<uint16_t>(character | (attribute & 0xFF) << 8);
}

}  // namespace

bool WINDOW_COPY = false;

void KeepWindowCopy() {
  WINDOW_COPY = true;
  WINDOW = CONSOLEINFO.window;
  WIDTH = WINDOW.right - WINDOW.left + 1;
  CELLS.assign(static_cast<std::size_t>(WIDTH * (WINDOW.bottom - WINDOW.top + 1)),
               CellOf(' ', CONSOLEINFO.attribute));
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

const std::vector<uint16_t>& CopiedCells() {
  return CELLS;
}

}  // namespace console
