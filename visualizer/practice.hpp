// Practice (--practice): the learner sorts. Each pass they take up the next element, move
// the larger ones left of the gap one place right and put the element down, with keys; the
// program checks each action against the sort it shows, draws a right one as the
// demonstration draws that step, and names a wrong one, which changes nothing. After a
// second wrong try at the same step the program does the step itself.
#pragma once

#include <cstdint>

namespace visualizer {

// The mistakes the program names.
enum class PracticeMistake : uint8_t {
  kSortedAlready,  // took an element of the sorted part
  kSelectionStep,  // took the smallest of the rest: selection sort's step
  kNotNext,        // took another element that is not the next
  kSmallerStays,   // moved a smaller element, which stays
  kEqualStays,     // moved an equal element: the sort would no longer be stable
  kTooEarly,       // put down while the element left of the gap is larger
  kNothingLeft,    // moved with the gap at place 1
};
constexpr int kPracticeMistakes = 7;

// The score: every step done, those right at the first try, and each kind of mistake.
struct PracticeScore {
  int32_t steps = 0;
  int32_t right = 0;
  int32_t mistakes[kPracticeMistakes] = {};
};
extern PracticeScore Practised;
// The place of the cursor while the learner is to act: the one to take up, or the gap.
extern int32_t PracticeCursor;

// Sorts A as the learner does it, from the printout of the array to sort.
void Practise();

}  // namespace visualizer
