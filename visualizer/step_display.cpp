#include "visualizer/step_display.hpp"

#include <algorithm>

#include "console/console.hpp"
#include "console/write_statements.hpp"
#include "visualizer/step_gate.hpp"

namespace visualizer {

using namespace console;

namespace {

// The frame's layout: the picture's ten fields, then the caption from column 41 in a field
// of 25; the closing line end is written from column 79, which leaves the caption's row.
constexpr uint8_t kCaptionColumn = 41;
constexpr int32_t kCaptionWidth = 25;
constexpr uint8_t kLineEndColumn = 79;
// A frame begun below row 22 of a 25-row window first makes room, and is drawn from two
// rows higher up. In a taller window the bound moves down with the bottom, so that frames
// run down the screen without overwriting each other.
constexpr uint8_t kLastRowWithRoom = 22;
constexpr uint8_t kRowsBelowTheBound = 3;
constexpr uint8_t kRiseAfterScroll = 2;

// The last row a frame starts on without making room first.
uint32_t RoomBound() {
  const uint32_t height = WINDMAXY - WINDMINY + 1;
  return std::max<uint32_t>(kLastRowWithRoom, height - kRowsBelowTheBound);
}

// X line ends: near the bottom they push the screen up.
void SCROLL(uint8_t x) {
  for (uint8_t n = 1; n <= x; ++n) WriteLn();
}

void ShowSelect(Index i) {
  for (Index k = 1; k <= SIZE; ++k) {
    SHOW_MASK[1][k] = k == i ? mskHidden : mskNormal;
    SHOW_MASK[2][k] = k == i ? mskNormal : mskHidden;
    SHOW_VALUES[1][k] = A[k];
    SHOW_VALUES[2][k] = A[k];
  }
}

void ShowCompare(Index i, Index j) {
  ++CNT_COMP;
  // Red: the compared element is larger and will move right.
  const TMask outcome = A[j] > X ? mskRed : mskGreen;
  for (Index k = 1; k <= SIZE; ++k) {
    if (k == i) SHOW_MASK[2][k] = outcome;
    if (k == j) SHOW_MASK[1][k] = outcome;
    SHOW_VALUES[1][k] = A[k];
    SHOW_VALUES[2][k] = A[k];
  }
  for (Index k = 1; k <= SIZE; ++k)
    if (k != i) SHOW_MASK[2][k] = mskHidden;
  SHOW_MASK[1][j + 1] = mskHidden;  // the hole where the element would go
  SHOW_VALUES[2][i] = X;
}

void ShowMove(Index i, Index j) {
  ++CNT_SWAP;
  for (Index k = 1; k <= SIZE; ++k) {
    SHOW_MASK[1][k] = mskNormal;
    SHOW_MASK[2][k] = mskHidden;
    SHOW_VALUES[1][k] = A[k];
  }
  SHOW_MASK[1][j + 1] = mskHidden;  // the hole has moved one place left
  SHOW_MASK[2][i] = mskNormal;
  SHOW_VALUES[2][i] = X;
}

}  // namespace

void SHOWSTEP(TOperation op, int32_t i, int32_t j) {
  switch (op) {
    case opSelect: ShowSelect(static_cast<Index>(i)); break;
    case opCompare: ShowCompare(static_cast<Index>(i), static_cast<Index>(j)); break;
    case opMove: ShowMove(static_cast<Index>(i), static_cast<Index>(j)); break;
  }
  SHOWBYMASK(STRACTION[op], i);
}

void SHOWBYMASK(const char* s, int32_t ival) {
  uint8_t posy = WHEREY();
  // Near the bottom, make room first.
  if (posy > RoomBound()) {
    SCROLL(SCROLLBY);
    posy = static_cast<uint8_t>(posy - kRiseAfterScroll);
    GOTOXY(1, posy);
  }
  WriteLn({"i = ", ival});
  posy = WHEREY();
  for (Index m = 1; m <= 2; ++m) {
    for (Index k = 1; k <= SIZE; ++k) {
      GOTOXY(static_cast<uint8_t>(kFieldWidth * (k - 1) + 1), static_cast<uint8_t>(posy + m - 1));
      TEXTCOLOR(static_cast<uint8_t>(OUTPUTCOLOR[SHOW_MASK[m][k]]));
      Write({{SHOW_VALUES[m][k], kFieldWidth}});
    }
  }
  TEXTCOLOR(static_cast<uint8_t>(OUTPUTCOLOR[mskNormal]));
  GOTOXY(kCaptionColumn, static_cast<uint8_t>(WHEREY() - 1));
  Write({{s, kCaptionWidth}});
  GOTOXY(kLineEndColumn, static_cast<uint8_t>(WHEREY() + 1));
  WriteLn();
  GETUSERINPUT();
}

}  // namespace visualizer
