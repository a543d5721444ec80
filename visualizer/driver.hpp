// The demonstration from menu to totals.
#pragma once

namespace visualizer {

// Reads the menu key and fills A from the chosen data set; any other key selects nothing.
void SEL();
// The whole run: menu, choice, printout, sort, totals, the final line read.
void RunDemo();

}  // namespace visualizer
