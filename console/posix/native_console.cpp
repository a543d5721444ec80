// The console of a program on a POSIX system: its standard input and output.
#include "console/native_console.hpp"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "console/posix/terminal_console.hpp"
#include "runtime/platform.hpp"
#include "runtime/posix/locale.hpp"
#include "runtime/runtime.hpp"
#include "runtime/words.hpp"

namespace console {

Platform& OpenNativeConsole(const ConsoleOptions& options) {
  const std::string term = posix::TerminalType();
  if (term == "dumb" && isatty(STDOUT_FILENO)) {
    // Every frame is drawn by moving the cursor, which a dumb terminal cannot do.
    const std::string sorry = runtime::Tr(
        "{program}: this terminal (TERM=dumb) cannot move the cursor, which the program needs",
        {{"program", runtime::ProgramName()}});
    runtime::WriteAll(STDERR_FILENO, runtime::ForOutput(sorry + "\n"));
    std::_Exit(1);
  }
  static posix::TerminalConsole console(
      STDIN_FILENO, STDOUT_FILENO,
      {runtime::LocaleCodeset(), term, options.monochrome || posix::NoColorAsked()},
      posix::MonotonicMs);
  return console;
}

DescriptionSink NativeDescriptionSink() {
  return nullptr;
}

}  // namespace console
