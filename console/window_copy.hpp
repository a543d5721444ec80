// A copy of what the window shows, kept by the layer as it draws, so that a screen seen
// before can be drawn again exactly: every character in its colour, and the cursor.
#pragma once

#include <cstdint>
#include <vector>

#include "console/platform.hpp"

namespace console {

// One screen of the window: its cells row by row, each a character with its attribute in
// the high byte, and where the cursor stood.
struct WindowScreen {
  std::vector<uint16_t> cells;
  Coord cursor;
};

// From now on the layer keeps a copy of its window. Cells it has not drawn count as blank
// in the console's attribute at start-up: what stood there before is not the program's.
void KeepWindowCopy();
// The layer keeps no copy from now on, as before KeepWindowCopy.
void DropWindowCopy();
// The window as it is now; only while the copy is kept.
WindowScreen TakeWindowScreen();
// Draws SCREEN over the window (only the cells that differ) and puts the cursor back.
void ShowWindowScreen(const WindowScreen& screen);

}  // namespace console
