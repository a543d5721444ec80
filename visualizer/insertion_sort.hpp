// The instrumented insertion sort: every selection, comparison and move is a frame.
#pragma once

#include <cstdint>

namespace visualizer {

// Sorts A in place, showing each step, and prints the array after each insertion.
void INSERT();
// True when INDEX_J > 0 and I < J (values); shows the selection frame while TODO is set
// and the comparison frame when there is something to compare with.
bool ISLESS(int32_t index_i, int32_t index_j, int32_t i, int32_t j);

}  // namespace visualizer
