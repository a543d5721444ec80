#include "visualizer/teaching.hpp"

#include "console/console.hpp"
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

}  // namespace

bool Saying() {
  return Modes.back || Modes.explain || Modes.quiz || Modes.describe;
}

void Keep(ScreenKind kind, int32_t i, const std::string& sentence) {
  if (!Modes.back && !Modes.describe) return;
  Description = DescribeScreen(kind, i, sentence,
                               kind == ScreenKind::kMenu ? sentence : WhereSentence(kind, i));
  Told = false;
}

// The console is called only here, at the waits: on the page such a call may suspend the
// program, as far as its compiler can tell, and every function on such a path grows.
void Tell() {
  if (Told || !Modes.describe) return;
  console::CurrentPlatform().Describe(Description);
  Told = true;
}

const std::string& Said() {
  return Description;
}

void SayAgain(const std::string& description) {
  Description = description;
  Told = false;
  Tell();
}

}  // namespace visualizer
