// The two routines that end every screen: the array printout and the step gate, the one
// place where the program waits between steps and where the user can abort.
#pragma once

#include <cstdint>

namespace visualizer {

// Prints A on the current row in light grey, ten fields of four, and waits at the gate.
void PRINTARRAY();
// Returns when Space is read; Esc writes "breaking program" on row 24 and ends the
// program with status 100.
void GETUSERINPUT();
// The abort of the step gate: also what happens when the keyboard input ends.
[[noreturn]] void BreakProgram();
// Auto-play: every step gate passes by itself after DELAY_MS (0: never, as by default).
// Space passes at once and Esc aborts as ever; P pauses, and the gate then waits as without
// auto-play, until P resumes.
void SetAutoPlay(uint32_t delay_ms);

}  // namespace visualizer
