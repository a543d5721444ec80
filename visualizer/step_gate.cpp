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

uint32_t AUTO_DELAY_MS = 0;  // auto-play's delay; 0 when off

// The gate under auto-play.
void AutoGate() {
  Platform& platform = CurrentPlatform();
  bool paused = false;
  uint64_t deadline = platform.NowMs() + AUTO_DELAY_MS;
  for (;;) {
    if (!paused) {
      const uint64_t now = platform.NowMs();
      if (now >= deadline) return;
      if (!WaitForKeyWithin(static_cast<uint32_t>(deadline - now))) continue;
    }
    const uint8_t key = READKEY();
    if (key == KBESC) BreakProgram();
    while (KEYPRESSED()) READKEY();
    if (key == KBSPACE) return;
    if (key == 'p' || key == 'P') {
      paused = !paused;
      deadline = platform.NowMs() + AUTO_DELAY_MS;
    }
  }
}

}  // namespace

void SetAutoPlay(uint32_t delay_ms) {
  AUTO_DELAY_MS = delay_ms;
}

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
  if (AUTO_DELAY_MS > 0) {
    AutoGate();
    return;
  }
  for (;;) {
    const uint8_t key = READKEY();
    if (key == KBESC) BreakProgram();
    // Keys pressed while the frame was drawn never advance more than one step.
    while (KEYPRESSED()) READKEY();
    if (key == KBSPACE) return;
  }
}

}  // namespace visualizer
