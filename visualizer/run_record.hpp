// What the program was asked to teach, and the record of one run: what it has counted,
// scored, said and seen so far. The narrator, the gate, the sentences and the descriptions
// read and write the record of the run under way; each sort starts its own (StartRun).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/window_copy.hpp"

namespace visualizer {

struct Teaching {
  uint32_t auto_ms = 0;  // --auto: each gate passes by itself after this delay; 0 when off
  bool back = false;     // --back: Left and Backspace show the screens of the gates before
  bool explain = false;  // --explain: every frame carries its step in a sentence
  bool quiz = false;     // --quiz: each comparison's outcome is asked before it is shown
  // where a description of each screen goes, for a page to show and say (null: nowhere)
  void (*describe)(std::string_view description) = nullptr;
  // --screen-reader: each screen is one line of words written below the last, for a screen
  // reader or a braille display, instead of a frame drawn with the cursor and colours
  bool lines = false;
  bool practice = false;  // --practice: the learner sorts, step by step (practice.hpp)
};
extern Teaching Modes;

// The predictions of --quiz so far: how many were asked, how many were right.
struct Predictions {
  int32_t asked = 0;
  int32_t right = 0;
};

// The law of the run's counts: the pairs out of order in the array before the sort, which
// the moves undo one each, and the comparisons that stopped an element (it went in after
// the compared one), which with the moves make up the comparisons.
struct Law {
  int32_t inversions = 0;
  int32_t stops = 0;
};

// The mistakes the program names.
enum class PracticeMistake : uint8_t {
  kSortedAlready,  // took an element of the sorted part
  kSelectionStep,  // took the smallest of the rest: selection sort's step
  kNotNext,        // took another element that is not the next
  kSmallerStays,   // moved a smaller element, which stays
  kEqualStays,     // moved an equal element: the sort would no longer be stable
  kTooEarly,       // put down while the element left of the gap is larger
  kNothingLeft,    // moved with the gap at place 1
};
constexpr int kPracticeMistakes = 7;

// The score: every step done, those right at the first try, and each kind of mistake.
struct PracticeScore {
  int32_t steps = 0;
  int32_t right = 0;
  int32_t mistakes[kPracticeMistakes] = {};
};

// What the narrator says of a screen: its description, and under --screen-reader its line.
struct Telling {
  std::string description;
  std::string line;
};

// A gate's screen as it was, with what was said of it; under --screen-reader no screen, and
// going back writes its line again.
struct SeenScreen {
  console::WindowScreen screen;
  Telling said;
};

struct RunRecord {
  Predictions score;  // --quiz
  Law law;
  std::string array_name;       // what the array sorted is called, for the page's runs
  PracticeScore practised;      // --practice
  int32_t practice_cursor = 0;  // while the learner is to act: the one to take up, or the gap
  // The comparison under way, as the sort decided it: the compared element is larger, and
  // moves one place right. Its frame, its sentence and the counts take it from here.
  bool larger = false;
  // The narrator's: what it says of the screen shown or about to be, whether the console
  // has its description and whether its line is written; whether the cursor stands after
  // the last line written.
  Telling kept;
  bool told = true;
  bool line_written = true;
  bool line_open = false;
  // The gate's: the screens of the gates passed, oldest first (only under --back), and
  // whether auto-play is paused.
  std::vector<SeenScreen> seen;
  bool paused = false;
};

// The record of the run under way.
RunRecord& ThisRun();
// A sort begins on an array with INVERSIONS pairs out of order: what a run counts and scores
// starts from nothing, however many runs came before in the process; what the screen shows
// and what was said of it go on.
void StartRun(int32_t inversions);

}  // namespace visualizer
