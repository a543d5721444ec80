// The learning modes that options turn on, what the run has taught so far, and what the
// program says of each screen it waits at. With every mode off, as by default, the program
// runs as it always has.
#pragma once

#include <cstdint>
#include <string>

#include "visualizer/screen_kinds.hpp"

namespace visualizer {

struct Teaching {
  uint32_t auto_ms = 0;   // --auto: each gate passes by itself after this delay; 0 when off
  bool back = false;      // --back: Left and Backspace show the screens of the gates before
  bool explain = false;   // --explain: every frame carries its step in a sentence
  bool quiz = false;      // --quiz: each comparison's outcome is asked before it is shown
  bool describe = false;  // the console shows a description of each screen (a page)
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
extern Predictions Score;

// The law of the run's counts: the pairs out of order in the array before the sort, which
// the moves undo one each, and the comparisons that stopped an element (it went in after
// the compared one), which with the moves make up the comparisons.
struct Law {
  int32_t inversions = 0;
  int32_t stops = 0;
};
extern Law RunLaw;

// What the array sorted is called, for the page's table of runs.
extern std::string ArrayName;

// True when a sentence is of use: to a console that shows it, to --back, --explain or
// --quiz. Otherwise none is made.
bool Saying();
// Keeps what the screen of KIND about the element at I (0: none) shows, with its step in
// SENTENCE, described as data (screen_description.hpp), until Tell gives it to the console;
// the gates keep it with each screen, for --back to show it again. Under --screen-reader
// Keep also makes the screen's line; KeepDescription does not.
void Keep(ScreenKind kind, int32_t i, const std::string& sentence);
void KeepDescription(ScreenKind kind, int32_t i, const std::string& sentence);
// Says what the screen of KIND about the element at I shows, in the sentence that MAKE()
// builds only when someone listens; returns the sentence, empty when nobody does.
template <typename Make>
std::string Say(ScreenKind kind, int32_t i, Make make) {
  if (!Saying()) return {};
  std::string sentence = make();
  Keep(kind, i, sentence);
  return sentence;
}
// Gives the console what was kept, once, when the program is about to wait at the screen;
// under --screen-reader writes the screen's line.
void Tell();
// Auto-play is PAUSED, or plays on: told to the console with the screen's description (its
// "paused").
void TellPaused(bool paused);
// Under --screen-reader, writes WORDS as a line of their own at once.
void SayLine(const std::string& words);
// Under --screen-reader, ends the line last written, whose end is left open for the cursor
// to stay after it, before anything else is written.
void EndLine();
// The description kept now, and the line of --screen-reader.
const std::string& Said();
const std::string& LineSaid();
// Keeps a description and a line from before and tells them at once.
void SayAgain(const std::string& description, const std::string& line);

}  // namespace visualizer
