#include "visualizer/step_gate.hpp"

#include "console/console.hpp"
#include "console/write_statements.hpp"
#include "runtime/runtime.hpp"
#include "visualizer/sort_state.hpp"

namespace visualizer {

using namespace console;

void PRINTARRAY() {
  TEXTCOLOR(7);
  for (int k = 1; k <= 10; ++k) Write({{A[k], 4}});
  GETUSERINPUT();
}

void BreakProgram() {
  GOTOXY(1, 24);
  WriteLn({"breaking program"});
  runtime::Halt(100);
}

void GETUSERINPUT() {
  for (;;) {
    const uint8_t key = READKEY();
    if (key == KBESC) BreakProgram();
    // Keys pressed while the frame was drawn never advance more than one step.
    while (KEYPRESSED()) READKEY();
    if (key == KBSPACE) return;
  }
}

}  // namespace visualizer
