// The console of the platform the program is built for: a POSIX terminal, the Windows
// console, or a web page's terminal (or the files and pipes standing in for them). Each
// platform's library defines it.
#pragma once

#include <string_view>

#include "console/platform.hpp"

namespace console {

struct ConsoleOptions {
  // Draw without colours (as NO_COLOR, set and not empty, asks too), where the console is
  // a stream of bytes: light red as bold, light green underlined, the rest plain.
  bool monochrome = false;
};

// Takes over the process's standard input and output (in a browser: the page's terminal
// and keyboard); it lives as long as the process. On a terminal that cannot address the
// cursor (TERM=dumb) it says so and ends the program with status 1 before anything else.
Platform& OpenNativeConsole(const ConsoleOptions& options = {});

// Where a description of each screen goes for those who cannot see the terminal (a JSON
// object: the screen's kind, its step in a sentence, its cells): on a page the page, which
// shows and says it; elsewhere nobody listens (null).
using DescriptionSink = void (*)(std::string_view description);
DescriptionSink NativeDescriptionSink();

}  // namespace console
