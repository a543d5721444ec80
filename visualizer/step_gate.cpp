#include "visualizer/step_gate.hpp"

#include "console/console.hpp"
#include "console/write_statements.hpp"
#include "runtime/runtime.hpp"
#include "visualizer/sort_state.hpp"

namespace visualizer {

using namespace console;

namespace {

// Where the abort message goes, and the exit status that says the user broke off.
constexpr uint8_t kAbortRow = 24;
constexpr int kAbortStatus = 100;

}  // namespace

void PRINTARRAY() {
  TEXTCOLOR(static_cast<uint8_t>(OUTPUTCOLOR[mskNormal]));
  for (int k = 1; k <= SIZE; ++k) Write({{A[k], kFieldWidth}});
  GETUSERINPUT();
}

void BreakProgram() {
  GOTOXY(1, kAbortRow);
  WriteLn({"breaking program"});
  runtime::Halt(kAbortStatus);
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
