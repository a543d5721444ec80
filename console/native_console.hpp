// The console of the platform the program is built for: the Windows console, a web page's
// terminal, or a POSIX terminal (or the files and pipes standing in for them).
#pragma once

#if defined(_WIN32)
#include "console/windows/windows_console.hpp"
#elif defined(__EMSCRIPTEN__)
#include "console/web/web_console.hpp"
#else
#include "console/posix/terminal_console.hpp"
#endif

namespace console {

// Takes over the process's standard input and output (in a browser: the page's terminal
// and keyboard); it lives as long as the process.
inline Platform& OpenNativeConsole() {
#if defined(_WIN32)
  return windows::WindowsConsole::Open();
#elif defined(__EMSCRIPTEN__)
  return web::WebConsole::Open();
#else
  return posix::TerminalConsole::Open();
#endif
}

}  // namespace console
