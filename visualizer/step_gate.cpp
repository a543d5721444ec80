#include "visualizer/step_gate.hpp"

#include "console/console.hpp"
#include "console/write_statements.hpp"
#include "runtime/runtime.hpp"
#include "visualizer/sort_state.hpp"

namespace visualizer {

using namespace console;

void PRINTARRAY() {
  TEXTCOLOR(7);
  for (int k = 1; k <= 10; ++k) WRITE({{A[k], 4}});
  GETUSERINPUT();
}

void BREAKPROGRAM() {
  GOTOXY(1, 24);
  WRITELN({"breaking program"});
  rt::HALT(100);
}

void GETUSERINPUT() {
  for (;;) {
    const uint8_t key = READKEY();
    if (key == KBESC) BREAKPROGRAM();
    // Keys pressed while the frame was drawn never advance more than one step.
    while (KEYPRESSED()) READKEY();
    if (key == KBSPACE) return;
  }
}

}  // namespace visualizer
