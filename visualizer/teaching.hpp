// The learning modes that options turn on, and what the program says of each step. With
// every mode off, as by default, the program runs as it always has.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "visualizer/sort_state.hpp"

namespace visualizer {

struct Teaching {
  uint32_t auto_ms = 0;   // --auto: each gate passes by itself after this delay; 0 when off
  bool back = false;      // --back: Left and Backspace show the screens of the gates before
  bool explain = false;   // --explain: every frame carries its step in a sentence
  bool quiz = false;      // --quiz: each comparison's outcome is asked before it is shown
  bool describe = false;  // the console shows a description of each screen (a page)
};
extern Teaching TEACHING;

// The predictions of --quiz so far: how many were asked, how many were right.
extern int32_t ASKED;
extern int32_t RIGHT;
// The law of the run's counts: the pairs out of order in the array before the sort, which
// the moves undo one each, and the comparisons that stopped an element (it went in after
// the compared one), which with the moves make up the comparisons.
extern int32_t INVERSIONS;
extern int32_t STOPS;
// What the array sorted is called, for the page's table of runs.
extern std::string ARRAY_NAME;

// What the screen shows now, for a console that shows it beside the terminal (a page): the
// KIND of the screen ("menu", "start", "select", "compare", "question", "move", "printout",
// "totals"), the place I of the element it is about (0: none) and a SENTENCE with its
// values, described as data (screen_description.hpp) and kept in SAID until TELL gives it
// to the console. The gates keep it with each screen, for --back to show it again.
void SAY(std::string_view kind, int32_t i, const std::string& sentence);
// Gives the console what SAY kept, once, when the program is about to wait at the screen.
void TELL();
// Keeps a description from before and tells it at once.
void SAY_AGAIN(const std::string& description);
// True when what is said is of use: to a console that shows it, to --back, --explain or
// --quiz. Otherwise no sentence need be made.
bool SAYING();
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
// The score of --quiz, after the totals.
std::string ScoreLine();
// The law of the run, after the totals under --explain: two lines with its numbers.
std::vector<std::string> LawLines();

// What an array is called in the tables of runs: the menu's (KEY 1 to 4; another key
// chooses none), one of the user's own, one drawn at random from SEED, one in order or in
// reverse order.
std::string MenuArrayName(int key);
std::string OwnArrayName(const std::vector<int32_t>& numbers);
std::string RandomArrayName(uint32_t seed);
std::string InOrderName();
std::string InReverseName();
// The headings of --compare's columns, the array's first, and the line under its rows.
std::vector<std::string> CostTableHeadings();
std::string CostTableNote(uint32_t seed);

// Where the run stands at the screen of KIND about the element at I, with every number
// that the screen shows: the array as the frame shows it, the element and what it is
// compared with.
std::string WhereSentence(std::string_view kind, int32_t i);

}  // namespace visualizer
