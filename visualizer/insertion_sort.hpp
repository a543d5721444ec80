// The instrumented insertion sort: every selection, comparison and move is a frame. The sort
// itself is one template over what it sorts and who watches its steps, so that the cost of
// a sort of any length is counted by the very sort the frames show (cost.hpp).
#pragma once

#include <cstdint>

#include "visualizer/sort_state.hpp"

namespace visualizer {

// Sorts A in place, showing each step, and prints the array after each insertion.
void INSERT();
// The printout after the element of I went in at AT: "i = I", then the array, and the gate.
void ShowPlaced(Index i, Index at);
// True when INDEX_J > 0 and I < J: here I and J are values, the one being inserted and
// the one at INDEX_J, as the routine has always named them. Shows the selection frame
// while TODO is set and the comparison frame when there is something to compare with.
bool ISLESS(int32_t index_i, int32_t index_j, int32_t i, int32_t j);

// ISLESS, its values named X (the one being inserted) and Y (the one at INDEX_J), with the
// steps shown to STEPS: the selection while TODO is set (Show(opSelect, i, j), as SHOWSTEP
// takes it), then the comparison with its outcome, decided here once (Compared(i, j,
// larger)).
template <typename Steps>
bool IsLess(Steps& steps, bool todo, int32_t index_i, int32_t index_j, int32_t x, int32_t y) {
  // The result is fixed before any step is shown.
  const bool result = index_j > 0 && x < y;
  if (todo) steps.Show(opSelect, index_i, index_j);
  if (index_j > 0) steps.Compared(index_i, index_j, result);
  return result;
}

// Straight insertion sort of places 1 to N of the 1-based array A, in place, with X the
// value being inserted and TODO whether its selection is still to be shown. STEPS decides
// each comparison (IsLess(i, j, x, a[j]), as ISLESS), is shown each move
// (Show(opMove, i, j), J already the next place to compare) and hears when the element of I
// has gone in at AT (Placed(i, at)).
template <typename Position, typename Array, typename Steps>
void StraightInsertion(Array& a, Position n, int32_t& x, bool& todo, Steps& steps) {
  for (Position i = 1; i <= n; ++i) {
    x = a[i];
    todo = true;
    auto j = static_cast<Position>(i - 1);
    while (steps.IsLess(i, j, x, j > 0 ? a[j] : 0)) {
      todo = false;
      a[j + 1] = a[j];
      --j;
      steps.Show(opMove, i, j);
    }
    a[j + 1] = x;
    steps.Placed(i, static_cast<Position>(j + 1));
  }
}

}  // namespace visualizer
