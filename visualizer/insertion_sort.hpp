// The instrumented insertion sort: every selection, comparison and move is a frame, made by
// the one sort of straight_insertion.hpp that cost.hpp counts too.
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

}  // namespace visualizer
