// The console's move of a rectangle of cells (Platform::ScrollRect), on any grid of cells.
#pragma once

#include <vector>

#include "console/platform.hpp"

namespace console {

// Moves the cells of SOURCE so that its top-left lands on DEST: only cells inside CLIP
// change, and those that SOURCE leaves behind take FILL. AT(x, y) gives the cell of the
// grid there, null outside the grid; PUT(x, y, cell) stores one that is inside it.
template <typename Cell, typename At, typename Put>
void MoveRect(Rect source, Rect clip, Coord dest, const Cell& fill, At at, Put put) {
  auto in_clip = [&](int x, int y) {
    return at(x, y) != nullptr && x >= clip.left && x <= clip.right && y >= clip.top &&
           y <= clip.bottom;
  };
  // Read the whole source first: source and destination overlap.
  std::vector<Cell> moved;
  for (int y = source.top; y <= source.bottom; ++y) {
    for (int x = source.left; x <= source.right; ++x) {
      const Cell* cell = at(x, y);
      moved.push_back(cell != nullptr ? *cell : fill);
    }
  }
  for (int y = source.top; y <= source.bottom; ++y)
    for (int x = source.left; x <= source.right; ++x)
      if (in_clip(x, y)) put(x, y, fill);
  std::size_t i = 0;
  for (int y = source.top; y <= source.bottom; ++y) {
    for (int x = source.left; x <= source.right; ++x, ++i) {
      const int to_x = dest.x + (x - source.left);
      const int to_y = dest.y + (y - source.top);
      if (in_clip(to_x, to_y)) put(to_x, to_y, moved[i]);
    }
  }
}

}  // namespace console
