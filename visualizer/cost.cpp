#include "visualizer/cost.hpp"

#include "visualizer/straight_insertion.hpp"

namespace visualizer {
namespace {

// A vector seen from 1, as the sort sees its arrays.
struct FromOne {
  int32_t& operator[](int32_t k) { return numbers[static_cast<std::size_t>(k - 1)]; }
  std::vector<int32_t>& numbers;
};

// The steps of the sort, counted.
struct Counted {
  bool IsLess(int32_t index_i, int32_t index_j, int32_t inserted, int32_t compared) {
    return visualizer::IsLess(*this, todo, index_i, index_j, inserted, compared);
  }
  void Show(TOperation op, int32_t /*i*/, int32_t /*j*/) { cost.moves += op == opMove ? 1 : 0; }
  void Compared(int32_t /*i*/, int32_t /*j*/, bool larger) {
    ++cost.comparisons;
    // The compared element not larger stops the element.
    cost.stops += larger ? 0 : 1;
  }
  static void Placed(int32_t /*i*/, int32_t /*at*/) {}

  FromOne array;
  int32_t x = 0;
  bool todo = false;
  Cost cost;
};

// The sort whose test is a[j] >= x: its moves, counted.
struct OrEqual {
  static bool IsLess(int32_t /*index_i*/, int32_t index_j, int32_t x, int32_t y) {
    return index_j > 0 && x <= y;
  }
  void Show(TOperation op, int32_t /*i*/, int32_t /*j*/) { moves += op == opMove ? 1 : 0; }
  static void Compared(int32_t /*i*/, int32_t /*j*/, bool /*larger*/) {}
  static void Placed(int32_t /*i*/, int32_t /*at*/) {}
  int64_t moves = 0;
};

}  // namespace

int64_t Inversions(const int32_t* numbers, std::size_t count) {
  int64_t pairs = 0;
  for (std::size_t k = 0; k < count; ++k)
    for (std::size_t m = k + 1; m < count; ++m) pairs += numbers[k] > numbers[m] ? 1 : 0;
  return pairs;
}

Cost CountCost(std::vector<int32_t> numbers) {
  std::vector<int32_t> again = numbers;
  Counted steps{FromOne{numbers}, 0, false, {}};
  steps.cost.inversions = Inversions(numbers.data(), numbers.size());
  StraightInsertion(steps.array, static_cast<int32_t>(numbers.size()), steps.x, steps.todo, steps);
  OrEqual or_equal;
  FromOne array{again};
  int32_t x = 0;
  bool todo = false;
  StraightInsertion(array, static_cast<int32_t>(again.size()), x, todo, or_equal);
  steps.cost.moves_with_or_equal = or_equal.moves;
  return steps.cost;
}

}  // namespace visualizer
