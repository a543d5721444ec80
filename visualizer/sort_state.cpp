#include "visualizer/sort_state.hpp"

namespace visualizer {

const TArray B{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
const TArray C{{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}};
const TArray D{{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
const TArray E{{44, 55, 12, 42, 94, 18, 6, 67, 38, 78}};

const int32_t OUTPUTCOLOR[4] = {0, 7, 12, 10};
const char* const STRACTION[3] = {"current selection", "comparison", "moving"};

TArray A;
Index SIZE = 10;

int32_t OrderAmongEquals(bool frame, int32_t i, int32_t place) {
  const auto shown = [frame](Index m) { return frame ? SHOW_VALUES[1][m] : A[m]; };
  const int32_t value = place == 0 ? X : shown(static_cast<Index>(place));
  int32_t before = 0;
  int32_t all = frame && X == value ? 1 : 0;
  for (Index m = 1; m <= SIZE; ++m) {
    if ((frame && SHOW_MASK[1][m] == mskHidden) || shown(m) != value) continue;
    ++all;
    // The sorted part came before the element being inserted, and all of it before the rest.
    before += (place == 0 ? m <= i : m < place) ? 1 : 0;
  }
  before += frame && place > i && X == value ? 1 : 0;
  return all > 1 ? before + 1 : 0;
}
int32_t X = 0;
int32_t CNT_COMP = 0;
int32_t CNT_SWAP = 0;
bool TODO = false;
OneBased<OneBased<TMask, 10>, 2> SHOW_MASK;
OneBased<TArray, 2> SHOW_VALUES;

}  // namespace visualizer
