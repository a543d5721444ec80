// The demonstration from menu to totals.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace visualizer {

// Reads the menu key and fills A from the chosen data set; any other key selects nothing.
void SEL();
// The whole run: menu, choice, printout, sort, totals, the final line read.
void RunDemo();
// A run over an array of the user's own, 1 to 10 numbers, called NAME: no menu, then as
// after a choice.
void RunOwnArray(const std::vector<int32_t>& numbers, const std::string& name);

}  // namespace visualizer
