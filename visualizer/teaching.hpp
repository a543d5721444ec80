// The narrator: what the program says of each screen it waits at, to the console (a page's
// description) and under --screen-reader as a line. What it has said is the run's
// (run_record.hpp).
#pragma once

#include <cstdint>
#include <string>

#include "visualizer/run_record.hpp"
#include "visualizer/screen_kinds.hpp"

namespace visualizer {

// True when a sentence is of use: to a console that shows it, to --back, --explain or
// --quiz. Otherwise none is made.
bool Saying();

namespace detail {
void Keep(ScreenKind kind, int32_t i, const std::string& sentence, bool line);
}  // namespace detail

// Says what the screen of KIND about the element at I (0: none) shows, with its step in the
// sentence that MAKE() builds only when someone listens: it is kept, described as data
// (screen_description.hpp) and under --screen-reader as the screen's line (LINE false: the
// caller writes its own), until Tell gives it. Returns the sentence, empty when nobody
// listens.
template <typename Make>
std::string Say(ScreenKind kind, int32_t i, Make make, bool line = true) {
  if (!Saying()) return {};
  std::string sentence = make();
  detail::Keep(kind, i, sentence, line);
  return sentence;
}
// Gives what was said of the screen to its listeners, once, when the program is about to
// wait at it: the console its description, a screen reader its line.
void Tell();
// The same again for a screen of before, as it was said (ThisRun().kept then).
void Tell(const Telling& again);
// Auto-play is PAUSED now, or plays on: a screen reader gets the words as a line, the
// console the screen's description again with its "paused".
void Tell(bool paused);

// Under --screen-reader, writes WORDS as a line of their own at once.
void SayLine(const std::string& words);
// Under --screen-reader, ends the line last written, whose end is left open for the cursor
// to stay after it, before anything else is written.
void EndLine();

}  // namespace visualizer
