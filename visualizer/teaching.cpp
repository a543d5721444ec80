#include "visualizer/teaching.hpp"

#include "console/console.hpp"
#include "console/cp866.hpp"
#include "console/write_statements.hpp"
#include "visualizer/screen_description.hpp"
#include "visualizer/sentences.hpp"

namespace visualizer {

Teaching Modes;
Predictions Score;
Law RunLaw;
std::string ArrayName;

namespace {

std::string Description;  // of the screen shown, or about to be
bool Told = true;         // the console has it
std::string Line;         // --screen-reader's line for the screen about to be shown
bool LineWritten = true;

bool LineOpen = false;  // the cursor stands after the last line of --screen-reader

}  // namespace

// WORDS (UTF-8) on a line of their own, broken at blanks into rows that stop short of the
// window's last column, so that neither the window's wrap nor an empty row splits what is
// said. The cursor stays after it: a screen reader reads text that ends where the cursor
// is as it comes, whatever key brought it, and a braille display shows the line the
// cursor is on.
void SayLine(const std::string& words) {
  EndLine();
  const std::size_t width = console::WINDMAXX - console::WINDMINX;
  std::string rest = console::Utf8ToCp866(words);
  while (rest.size() > width) {
    std::size_t blank = rest.rfind(' ', width);
    if (blank == std::string::npos || blank == 0) blank = width;
    console::WriteLn({rest.substr(0, blank)});
    rest.erase(0, rest[blank] == ' ' ? blank + 1 : blank);
  }
  console::Write({rest});
  LineOpen = true;
}

void EndLine() {
  if (LineOpen) console::WriteLn();
  LineOpen = false;
}

bool Saying() {
  return Modes.back || Modes.explain || Modes.quiz || Modes.describe || Modes.lines;
}

void Keep(ScreenKind kind, int32_t i, const std::string& sentence) {
  if (Modes.lines) {
    Line = ScreenLine(kind, i, sentence);
    LineWritten = false;
  }
  KeepDescription(kind, i, sentence);
}

void KeepDescription(ScreenKind kind, int32_t i, const std::string& sentence) {
  if (!Modes.back && !Modes.describe) return;
  Description = DescribeScreen(kind, i, sentence,
                               kind == ScreenKind::kMenu ? sentence : WhereSentence(kind, i));
  Told = false;
}

// The console is called only here, at the waits: on the page such a call may suspend the
// program, as far as its compiler can tell, and every function on such a path grows.
void Tell() {
  if (!LineWritten) {
    SayLine(Line);
    LineWritten = true;
  }
  if (Told || !Modes.describe) return;
  console::CurrentPlatform().Describe(Description);
  Told = true;
}

void TellPaused(bool paused) {
  if (!Modes.describe || Description.empty()) return;
  // The screen's description as told, with whether auto-play is paused.
  std::string described = Description;
  described.insert(described.size() - 1, paused ? R"(,"paused":true)" : R"(,"paused":false)");
  console::CurrentPlatform().Describe(described);
}

const std::string& Said() {
  return Description;
}

const std::string& LineSaid() {
  return Line;
}

void SayAgain(const std::string& description, const std::string& line) {
  Description = description;
  Told = false;
  if (Modes.lines) {
    Line = line;
    LineWritten = false;
  }
  Tell();
}

}  // namespace visualizer
