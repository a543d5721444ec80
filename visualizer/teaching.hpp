// The learning modes that options turn on, and what the program says of each step. With
// every mode off, as by default, the program runs as it always has.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "visualizer/sort_state.hpp"

namespace visualizer {

struct Teaching {
  uint32_t auto_ms = 0;  // --auto: each gate passes by itself after this delay; 0 when off
  bool back = false;     // --back: Left and Backspace show the screens of the gates before
  bool explain = false;  // --explain: every frame carries its step in a sentence
  bool quiz = false;     // --quiz: each comparison's outcome is asked before it is shown
};
extern Teaching TEACHING;

// The predictions of --quiz so far: how many were asked, how many were right.
extern int32_t ASKED;
extern int32_t RIGHT;

// What the screen shows now, said to the console (a page says it beside the terminal): the
// KIND of the screen ("menu", "start", "select", "compare", "question", "move", "printout",
// "totals") and a SENTENCE with its values. The gates keep the last one with each screen.
void SAY(std::string_view kind, std::string sentence);
// True when what is said is of use: to a console that says it, to --back, --explain or
// --quiz. Otherwise no sentence need be made.
bool SAYING();
extern std::string SAID_KIND;
extern std::string SAID;

// The step OP of element I (J as SHOWSTEP has it) in one sentence of at most 38
// characters, from A and X as they stand when the frame is drawn.
std::string StepSentence(TOperation op, int32_t i, int32_t j);
// The question of --quiz for the comparison of X with A[J].
std::string Question(int32_t j);
// The printout after the element at I went in at AT; I = 0: the array before the sort.
std::string PrintoutSentence(int32_t i, int32_t at);
// The totals, with the predictions under --quiz.
std::string TotalsSentence();

}  // namespace visualizer
