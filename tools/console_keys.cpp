// console-keys: shows what the keyboard delivers through the console layer. Each key
// press prints one line with the results of READKEY in decimal ("0 72" for Up, "27" for
// Esc). Ctrl+C ends it.
#include <string_view>

#include "console/console.hpp"
#include "console/native_console.hpp"
#include "runtime/runtime.hpp"
#include "runtime/words.hpp"
#include "visualizer/command_line.hpp"

using namespace console;

namespace {

constexpr std::string_view kProgram = "console-keys";
constexpr std::string_view kHelp = runtime::N_(
    "Usage: {program} [OPTION]...\n"
    "Shows what each key press delivers through the console layer: one line per\n"
    "key with the results of READKEY in decimal (0 72 for Up, 27 for Esc).\n"
    "Ctrl+C ends it.\n"
    "\n"
    "Options:\n"
    "  -h, --help show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "See the manual: man console-keys\n");

}  // namespace

int main(int argc, char** argv) {
  visualizer::TakeCommandLine(argc, argv, kProgram, kHelp, false);
  runtime::InstallSignalHandlers();
  Init(OpenNativeConsole());
  for (;;) {
    const uint8_t key = READKEY();
    WRITE_TEXT_SINT(0, OUTPUT, key);
    IOCHECK();
    // An extended key's code follows at once; an extended key with code 0 has none.
    if (key == 0 && SCANCODE != 0) {
      WRITE_TEXT_ANSISTR(0, OUTPUT, " ");
      IOCHECK();
      WRITE_TEXT_SINT(0, OUTPUT, READKEY());
      IOCHECK();
    }
    WRITELN_END(OUTPUT);
    IOCHECK();
  }
}
