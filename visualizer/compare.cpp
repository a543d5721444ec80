#include "visualizer/compare.hpp"

#include <algorithm>
#include <numeric>
#include <type_traits>

#include "visualizer/command_line.hpp"
#include "visualizer/cost.hpp"
#include "visualizer/sentences.hpp"
#include "visualizer/sort_state.hpp"

namespace visualizer {
namespace {

// The width of the columns after the array's name, unless a heading needs more.
constexpr int kColumnWidth = 13;

// Columns a text takes on a terminal: its UTF-8 characters.
int Width(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// A row: NAME, then the other columns, each a number or a heading, right-aligned in its
// width of WIDTHS.
template <typename Column>
void Row(std::string& table, int name_width, const std::string& name,
         const std::vector<Column>& columns, const std::vector<int>& widths) {
  table.append(name).append(static_cast<std::size_t>(name_width - Width(name)), ' ');
  for (std::size_t k = 0; k < columns.size(); ++k) {
    std::string text;
    if constexpr (std::is_same_v<Column, std::string>)
      text = columns[k];
    else
      text = std::to_string(columns[k]);
    table.append(static_cast<std::size_t>(widths[k] - Width(text)), ' ').append(text);
  }
  table.push_back('\n');
}

std::vector<int32_t> Ascending(int32_t n) {
  std::vector<int32_t> numbers(static_cast<std::size_t>(n));
  std::iota(numbers.begin(), numbers.end(), 0);
  return numbers;
}

}  // namespace

std::string CostTable(uint32_t seed, const std::vector<NamedArray>& more) {
  std::vector<NamedArray> arrays;
  for (int key = 1; key <= 4; ++key) {
    const TArray& set = key == 1 ? B : key == 2 ? C : key == 3 ? D : E;
    arrays.push_back({MenuArrayName(key), {set.items.begin(), set.items.end()}});
  }
  for (const int32_t n : {10, 100, 1000}) {
    std::vector<int32_t> ascending = Ascending(n);
    arrays.push_back({InOrderName(), ascending});
    arrays.push_back({RandomArrayName(seed), RandomNumbers(seed, static_cast<std::size_t>(n))});
    std::reverse(ascending.begin(), ascending.end());
    arrays.push_back({InReverseName(), ascending});
  }
  arrays.insert(arrays.end(), more.begin(), more.end());

  std::vector<std::string> headings = CostTableHeadings();
  int name_width = 0;
  for (const NamedArray& array : arrays) name_width = std::max(name_width, Width(array.name));
  name_width = std::max(name_width, Width(headings[0]));
  const std::vector<std::string> columns(headings.begin() + 1, headings.end());
  std::vector<int> widths;
  for (const std::string& heading : columns)
    widths.push_back(std::max(kColumnWidth, Width(heading) + 2));
  std::string table;
  Row(table, name_width, headings[0], columns, widths);
  for (const NamedArray& array : arrays) {
    const Cost cost = CountCost(array.numbers);
    const auto n = static_cast<int64_t>(array.numbers.size());
    const CostBounds bounds = BoundsOf(n);
    Row(table, name_width, array.name,
        std::vector<int64_t>{n, cost.inversions, cost.comparisons, cost.moves,
                             cost.moves_with_or_equal, bounds.least, bounds.most},
        widths);
  }
  return table.append(CostTableNote(seed)).append("\n");
}

}  // namespace visualizer
