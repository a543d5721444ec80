#include "visualizer/teaching.hpp"

#include "console/console.hpp"
#include "console/cp866.hpp"
#include "console/write_statements.hpp"
#include "visualizer/screen_description.hpp"
#include "visualizer/sentences.hpp"

namespace visualizer {

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
  ThisRun().line_open = true;
}

void EndLine() {
  if (ThisRun().line_open) console::WriteLn();
  ThisRun().line_open = false;
}

bool Saying() {
  return Modes.back || Modes.explain || Modes.quiz || Modes.describe || Modes.lines;
}

namespace detail {

void Keep(ScreenKind kind, int32_t i, const std::string& sentence, bool line) {
  if (line && Modes.lines) {
    ThisRun().kept.line = ScreenLine(kind, i, sentence);
    ThisRun().line_written = false;
  }
  if (!Modes.back && !Modes.describe) return;
  ThisRun().kept.description = DescribeScreen(
      kind, i, sentence, kind == ScreenKind::kMenu ? sentence : WhereSentence(kind, i));
  ThisRun().told = false;
}

}  // namespace detail

// The console is called only here, at the waits: on the page such a call may suspend the
// program, as far as its compiler can tell, and every function on such a path grows.
void Tell() {
  if (!ThisRun().line_written) {
    SayLine(ThisRun().kept.line);
    ThisRun().line_written = true;
  }
  if (ThisRun().told || !Modes.describe) return;
  Modes.describe(ThisRun().kept.description);
  ThisRun().told = true;
}

void Tell(const Telling& again) {
  ThisRun().kept = again;
  ThisRun().told = false;
  ThisRun().line_written = !Modes.lines;
  Tell();
}

void Tell(bool paused) {
  if (Modes.lines) SayLine(PauseWords(paused));
  if (!Modes.describe || ThisRun().kept.description.empty()) return;
  // The screen's description as told, with whether auto-play is paused.
  std::string described = ThisRun().kept.description;
  described.insert(described.size() - 1, paused ? R"(,"paused":true)" : R"(,"paused":false)");
  Modes.describe(described);
}

}  // namespace visualizer
