// Practice (--practice): the learner sorts. Each pass they take up the next element, move
// the larger ones left of the gap one place right and put the element down, with keys; the
// program checks each action against the sort it shows, draws a right one as the
// demonstration draws that step, and names a wrong one, which changes nothing. After a
// second wrong try at the same step the program does the step itself.
#pragma once

#include <cstdint>

#include "visualizer/run_record.hpp"

namespace visualizer {

// Sorts A as the learner does it, from the printout of the array to sort.
void Practise();

}  // namespace visualizer
