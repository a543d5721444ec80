// The two routines that end every screen: the array printout and the step gate, the one
// place where the program waits between steps and where the user can abort.
#pragma once

#include <cstdint>

namespace visualizer {

// Prints A on the current row in light grey, ten fields of four, and waits at the gate.
void PRINTARRAY();
// Returns when Space is read; Esc writes "breaking program" on row 24 and ends the
// program with status 100. The learning modes (teaching.hpp) change how: auto-play
// passes the gate by itself, --back keeps its screen to be shown again.
void GETUSERINPUT();
// The gate of a question of --quiz: true for Y, false for N; Esc aborts as ever.
bool AwaitAnswer();
// The abort of the step gate: also what happens when the keyboard input ends.
[[noreturn]] void BreakProgram();

}  // namespace visualizer
