// The page's terminal, written to as it is: the console's frames and the run-time's
// report go through this one door.
#pragma once

#include <string_view>

namespace runtime::web {

// Shows BYTES on the page's terminal; they are copied before this returns.
void WriteToPage(std::string_view bytes);

}  // namespace runtime::web
