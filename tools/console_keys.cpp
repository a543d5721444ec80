// console-keys: shows what the keyboard delivers through the console layer. Each key
// press prints one line with the results of READKEY in decimal ("0 72" for Up, "27" for
// Esc). Ctrl+C ends it.
#include "console/console.hpp"
#include "console/native_console.hpp"
#include "runtime/runtime.hpp"

using namespace console;

int main() {
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
