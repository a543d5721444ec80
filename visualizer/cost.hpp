// The cost of a sort: the comparisons and moves that the sort of the frames makes on an array
// of any length, counted by running that sort without drawing, and the pairs out of order
// that its moves undo.
#pragma once

#include <cstdint>
#include <vector>

namespace visualizer {

struct Cost {
  int64_t inversions = 0;   // pairs out of order before the sort
  int64_t comparisons = 0;  // every one either moved an element or stopped one
  int64_t moves = 0;        // every one undid one pair out of order
  int64_t stops = 0;        // comparisons after which the element went in
  // The moves of the same sort if its test moved an equal element too (a[j] >= x): equal
  // values then change places, and the sort is no longer stable.
  int64_t moves_with_or_equal = 0;
};

// What a sort of N numbers costs at the least (N - 1 comparisons, no move: the array in
// order) and at the most (N(N - 1)/2 comparisons and as many moves: in reverse order).
struct CostBounds {
  int64_t least = 0;
  int64_t most = 0;
};
constexpr CostBounds BoundsOf(int64_t n) {
  return {n - 1, n * (n - 1) / 2};
}

// The pairs of places k < m of NUMBERS (COUNT of them) with NUMBERS[k] > NUMBERS[m].
int64_t Inversions(const int32_t* numbers, std::size_t count);

// Sorts NUMBERS with the sort the frames show, counting what it does instead of drawing it.
Cost CountCost(std::vector<int32_t> numbers);

}  // namespace visualizer
