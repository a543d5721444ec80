// --compare: the cost of the sort, run by run, as a plain table on standard output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace visualizer {

// An array of a row of its own: its name and its numbers.
struct NamedArray {
  std::string name;
  std::vector<int32_t> numbers;
};

// A table with a row for each of the menu's four arrays, rows for 10, 100 and 1000 numbers
// in order, at random (drawn from SEED, which the table says) and in reverse order, and a
// row for each of MORE; each with its length, its pairs out of order, the comparisons and
// moves of the sort, and the two bounds n - 1 and n(n - 1)/2.
std::string CostTable(uint32_t seed, const std::vector<NamedArray>& more);

}  // namespace visualizer
