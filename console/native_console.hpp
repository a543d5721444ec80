// The console of the platform the program is built for: a POSIX terminal, the Windows
// console, or a web page's terminal (or the files and pipes standing in for them). Each
// platform's library defines it.
#pragma once

#include "console/platform.hpp"

namespace console {

// Takes over the process's standard input and output (in a browser: the page's terminal
// and keyboard); it lives as long as the process.
Platform& OpenNativeConsole();

}  // namespace console
