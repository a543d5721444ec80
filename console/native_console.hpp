// The console of the platform the program is built for: the Windows console, or a POSIX
// terminal (or the files and pipes standing in for them).
#pragma once

#ifdef _WIN32
#include "console/windows/windows_console.hpp"
#else
#include "console/terminal/terminal_console.hpp"
#endif

namespace console {

// Takes over the process's standard input and output; it lives as long as the process.
inline Platform& OpenNativeConsole() {
#ifdef _WIN32
  return windows::WindowsConsole::Open();
#else
  return terminal::TerminalConsole::Open();
#endif
}

}  // namespace console
