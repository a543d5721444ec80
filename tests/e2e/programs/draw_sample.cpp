// Draws a test picture with the console layer, waiting for a key between stages:
//   1. a line in the terminal's own colours, one in each colour the step display uses,
//      control-code glyphs and Cyrillic, and a line that wraps;
//   2. a character in the bottom-right cell, which scrolls the window;
//   3. ends.
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "console/native_console.hpp"
#include "runtime/runtime.hpp"

using namespace console;

namespace {

void Write(std::string_view text) {
  WRITE_TEXT_ANSISTR(0, OUTPUT, text);
  IOCHECK();
  WRITE_END(OUTPUT);
  IOCHECK();
}

void WriteLn(std::string_view text) {
  WRITE_TEXT_ANSISTR(0, OUTPUT, text);
  IOCHECK();
  WRITELN_END(OUTPUT);
  IOCHECK();
}

}  // namespace

int main() {
  runtime::InstallSignalHandlers();
  Init(OpenNativeConsole());
  WriteLn("plain");
  for (uint8_t colour : {12, 10, 0, 7}) {
    TEXTCOLOR(colour);
    Write(colour == 12 ? "red" : colour == 10 ? "green" : colour == 0 ? "hid" : "grey");
  }
  WriteLn("");
  WriteLn("\x01\x09\x7f\xa4\xe0\x9f");
  WriteLn(std::string(85, 'w'));
  READKEY();
  GOTOXY(static_cast<uint8_t>(WINDMAXX - WINDMINX + 1),
         static_cast<uint8_t>(WINDMAXY - WINDMINY + 1));
  Write("Z");
  READKEY();
  runtime::Halt(0);
}
