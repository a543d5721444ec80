#include "visualizer/insertion_sort.hpp"

#include "console/write_statements.hpp"
#include "visualizer/sentences.hpp"
#include "visualizer/step_display.hpp"
#include "visualizer/step_gate.hpp"
#include "visualizer/straight_insertion.hpp"
#include "visualizer/teaching.hpp"

namespace visualizer {

using console::WriteLn;

namespace {

// The steps as frames on the console, and the array printed after each insertion.
struct Frames {
  static bool IsLess(int32_t index_i, int32_t index_j, int32_t x, int32_t y) {
    return ISLESS(index_i, index_j, x, y);
  }
  static void Show(TOperation op, int32_t i, int32_t j) { SHOWSTEP(op, i, j); }
  static void Compared(int32_t i, int32_t j, bool larger) {
    ThisRun().larger = larger;
    SHOWSTEP(opCompare, i, j);
  }
  static void Placed(Index i, Index at) { ShowPlaced(i, at); }
};

}  // namespace

void ShowPlaced(Index i, Index at) {
  Say(ScreenKind::kPrintout, i, [i, at] { return PrintoutSentence(i, at); });
  if (!Modes.lines) WriteLn({"i = ", i});
  PRINTARRAY();
}

bool ISLESS(int32_t index_i, int32_t index_j, int32_t i, int32_t j) {
  Frames frames;
  return IsLess(frames, TODO, index_i, index_j, i, j);
}

void INSERT() {
  CNT_COMP = 0;
  CNT_SWAP = 0;
  Frames frames;
  StraightInsertion(A, SIZE, X, TODO, frames);
}

}  // namespace visualizer
