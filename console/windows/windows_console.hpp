// The console of a Windows program, picked by what its standard output is. On a console,
// cells and attributes go straight into the screen buffer: what is drawn between two waits
// for a key goes out as one batch, the window's scrolls in one call, the changed rows in as
// few rectangles as they need, then the cursor. On a file or a pipe, the byte stream of the
// terminal platform, as on POSIX. Keys come from the console's exact key events, or from a
// byte stream, whichever standard input is (windows_keys.hpp).
#pragma once

#include <memory>

#include "console/cp866.hpp"
#include "console/platform.hpp"
#include "console/windows/console_api.hpp"

namespace console::windows {

// The console over API; HIGH gives the Unicode of the code page 866 codes 0x80 to 0xFF.
// MONOCHROME draws a stream without colours (a console's own cells keep theirs).
std::unique_ptr<Platform> OpenWindowsConsole(ConsoleApi& api, const Cp866High& high,
                                             bool monochrome);

}  // namespace console::windows
