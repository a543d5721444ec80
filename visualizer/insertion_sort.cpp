#include "visualizer/insertion_sort.hpp"

#include "console/write_statements.hpp"
#include "visualizer/sort_state.hpp"
#include "visualizer/step_display.hpp"
#include "visualizer/step_gate.hpp"
#include "visualizer/teaching.hpp"

namespace visualizer {

using console::WriteLn;

bool ISLESS(int32_t index_i, int32_t index_j, int32_t i, int32_t j) {
  // The result is fixed before any frame is drawn.
  const bool result = index_j > 0 && i < j;
  if (TODO) SHOWSTEP(opSelect, index_i, index_j);
  if (index_j > 0) SHOWSTEP(opCompare, index_i, index_j);
  return result;
}

void INSERT() {
  CNT_COMP = 0;
  CNT_SWAP = 0;
  for (Index i = 1; i <= SIZE; ++i) {
    X = A[i];
    TODO = true;
    Index j = static_cast<Index>(i - 1);
    while (ISLESS(i, j, X, j > 0 ? A[j] : 0)) {
      TODO = false;
      A[j + 1] = A[j];
      --j;
      SHOWSTEP(opMove, i, j);
    }
    A[j + 1] = X;
    if (SAYING()) SAY("printout", i, PrintoutSentence(i, j + 1));
    WriteLn({"i = ", i});
    PRINTARRAY();
  }
}

}  // namespace visualizer
