// Colours set on a byte stream are a mode, like the terminal's others: while they differ
// from the terminal's defaults, every way out (a fault's report included) sets the defaults
// again first.
#pragma once

namespace console::stream {

// The colours on output FD now differ from the defaults (CHANGED) or not. The reset is
// registered with the run-time's restore the first time they differ.
void ColoursChanged(int fd, bool changed);

}  // namespace console::stream
