// Straight insertion sort, once: one template over what it sorts and who watches its steps,
// so that the frames (insertion_sort.cpp) show, and the cost (cost.cpp) counts, the very same
// sort on an array of any length.
#pragma once

#include <cstdint>

#include "visualizer/sort_state.hpp"

namespace visualizer {

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
