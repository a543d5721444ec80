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
