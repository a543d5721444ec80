// The law behind the counts of the sort that the frames show, over many arrays.
#include "visualizer/cost.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace visualizer {
namespace {

// Arrays of every length from 1 to 10, with duplicates and negative numbers: every move
// undoes one pair out of order, and every comparison either moves an element or stops it,
// which each element after the first does once unless it travels to place 1.
TEST(Cost, EveryMoveUndoesAPairOutOfOrderAndEveryComparisonMovesOrStops) {
  std::mt19937 engine(20261209);
  for (std::size_t length = 1; length <= 10; ++length) {
    for (int trial = 0; trial < 300; ++trial) {
      std::vector<int32_t> numbers(length);
      for (int32_t& number : numbers) number = static_cast<int32_t>(engine() % 9) - 4;
      int64_t travel = 0;  // elements smaller than all before them
      int64_t equal = 0;   // pairs of equal values
      for (std::size_t k = 0; k < length; ++k)
        equal += std::count(numbers.begin() + static_cast<std::ptrdiff_t>(k) + 1, numbers.end(),
                            numbers[k]);
      for (std::size_t k = 1; k < length; ++k)
        travel += numbers[k] < *std::min_element(numbers.begin(), numbers.begin() + k) ? 1 : 0;
      const Cost cost = CountCost(numbers);
      SCOPED_TRACE(::testing::PrintToString(numbers));
      EXPECT_EQ(cost.moves, cost.inversions);
      // With >= for > an element moves past the equal ones before it too.
      EXPECT_EQ(cost.moves_with_or_equal, cost.inversions + equal);
      EXPECT_EQ(cost.comparisons, cost.moves + cost.stops);
      EXPECT_EQ(cost.stops, static_cast<int64_t>(length) - 1 - travel);
    }
  }
}

}  // namespace
}  // namespace visualizer
