// The window copy's side that only window.cpp uses: it draws on the console and into the
// copy alike, through these.
#pragma once

#include <cstdint>

#include "console/platform.hpp"

namespace console {

// Whether the copy is kept (KeepWindowCopy), read on every draw.
extern bool WindowCopyKept;
// The two ways the copy changes: COUNT characters drawn from WHERE, and a rectangle moved.
void CopyCells(Coord where, const uint8_t* characters, int count, uint16_t attribute);
void CopyScroll(Rect source, Rect clip, Coord dest, uint16_t fill_attribute);

}  // namespace console
