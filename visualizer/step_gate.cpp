#include "visualizer/step_gate.hpp"

#include <optional>
#include <vector>

#include "console/console.hpp"
#include "console/cp866.hpp"
#include "console/window_copy.hpp"
#include "console/write_statements.hpp"
#include "runtime/runtime.hpp"
#include "runtime/words.hpp"
#include "visualizer/sentences.hpp"
#include "visualizer/sort_state.hpp"
#include "visualizer/teaching.hpp"

namespace visualizer {

using namespace console;

namespace {

// Where the abort message goes, and the exit status that says the user broke off.
constexpr uint8_t kAbortRow = 24;
constexpr int kAbortStatus = 100;

// The keys of going back and forth: Backspace's character, and Left's and Right's extended
// codes, which are their scan codes.
constexpr uint8_t kBackspace = keys::kBackspace.character;
constexpr uint8_t kLeftCode = scan::kLeft;
constexpr uint8_t kRightCode = scan::kRight;
// The small letters д, н and з in code page 866; their capitals are 0x20 lower.
constexpr uint8_t kCyrillicDe = 0xA4;
constexpr uint8_t kCyrillicEn = 0xAD;
constexpr uint8_t kCyrillicZe = 0xA7;

SeenScreen TakeSeen() {
  return SeenScreen{Modes.lines ? WindowScreen{} : TakeWindowScreen(), ThisRun().kept};
}

void ShowSeen(const SeenScreen& seen) {
  if (!Modes.lines) ShowWindowScreen(seen.screen);
  Tell(seen.said);
}

// A key read at a gate: its code, and for an extended key (code 0) the second code. Esc ends
// the program; keys typed ahead are dropped, so that keys pressed while a frame was drawn
// never pass more than one gate.
struct GateKey {
  uint8_t code = 0;
  uint8_t extended = 0;
};
GateKey ReadGateKey() {
  GateKey key{READKEY()};
  if (key.code == 0) key.extended = READKEY();
  if (key.code == KBESC) BreakProgram();
  while (KEYPRESSED()) READKEY();
  return key;
}

// The next key at a gate; with a DEADLINE (on the console's clock) only one that comes
// before it: none when the time runs out first.
std::optional<GateKey> NextKey(std::optional<uint64_t> deadline) {
  if (deadline) {
    const uint64_t now = CurrentPlatform().NowMs();
    if (now >= *deadline || !WaitForKeyWithin(static_cast<uint32_t>(*deadline - now)))
      return std::nullopt;
  }
  return ReadGateKey();
}

// The answer that KEY gives to a question: 'Y', 'N', or 0 for none. Y and N answer in every
// language; in Russian also д (да) and н (нет), as the Russian layout types them: its key
// marked Y gives н, so each letter means what it says.
uint8_t AnswerOf(uint8_t key) {
  const uint8_t upper = key & 0xDF;
  if (upper == 'Y' || upper == 'N') return upper;
  if (runtime::CurrentLanguage() != runtime::Language::kRussian) return 0;
  if (key == kCyrillicDe || key == kCyrillicDe - 0x20) return 'Y';
  if (key == kCyrillicEn || key == kCyrillicEn - 0x20) return 'N';
  return 0;
}

// P, or з, which the same key types on the Russian layout, in either case: it pauses
// auto-play and resumes it, whatever the language.
bool IsPause(uint8_t key) {
  return (key & 0xDF) == 'P' || key == kCyrillicZe || key == kCyrillicZe - 0x20;
}

// The words of a pause at the cursor, where the next screen begins (SHOWN), or blanks where
// they were.
void DrawPaused(bool shown) {
  if (Modes.lines) return;
  const std::string words = Utf8ToCp866(PauseWords(true));
  uint32_t x = 0;
  uint32_t y = 0;
  GETSCREENCURSOR(x, y);
  Write({shown ? words : std::string(words.size(), ' ')});
  SETSCREENCURSOR(x, y);
}

// P pressed: auto-play pauses or plays on, and the screen, a screen reader and the page
// say which.
void TogglePause() {
  ThisRun().paused = !ThisRun().paused;
  Tell(ThisRun().paused);
  DrawPaused(ThisRun().paused);
}

// The gate passed with KEY: the words of a pause go with it, the pause stays.
uint8_t Leave(uint8_t key) {
  if (ThisRun().paused) DrawPaused(false);
  return key;
}

// The one gate. A step gate (ANSWER false) returns on Space; a question's (ANSWER true)
// returns Y or N, read in either case, and Space does not pass it. Under auto-play a step
// passes by itself after the delay, in one timed wait; P pauses and resumes. Under --back,
// Left and Backspace show the screens of the gates before, Space and Right go forward
// through them, then on; going back pauses auto-play.
uint8_t Gate(bool answer) {
  Tell();
  const uint32_t delay = Modes.auto_ms;
  SeenScreen live;
  if (Modes.back) live = TakeSeen();
  std::size_t shown =
      ThisRun().seen.size();  // the screen in view; ThisRun().seen.size(): the live one
  bool& paused = ThisRun().paused;
  // Still paused: the screen says so again; the page was told when P was pressed.
  if (paused) DrawPaused(true);
  uint64_t deadline = CurrentPlatform().NowMs() + delay;
  for (;;) {
    const bool on_live = shown == ThisRun().seen.size();
    // A question waits for its answer whatever the time; the time running out is Space.
    const bool timed = delay > 0 && !paused && !(answer && on_live);
    const GateKey key =
        NextKey(timed ? std::optional(deadline) : std::nullopt).value_or(GateKey{KBSPACE});
    const bool forward = key.code == KBSPACE || (Modes.back && key.extended == kRightCode);
    const bool back = Modes.back && (key.code == kBackspace || key.extended == kLeftCode);
    if (forward && !on_live) {
      ++shown;
      ShowSeen(shown == ThisRun().seen.size() ? live : ThisRun().seen[shown]);
      if (shown == ThisRun().seen.size() && paused) DrawPaused(true);
    } else if (forward && !answer) {
      if (Modes.back) ThisRun().seen.push_back(std::move(live));
      return Leave(KBSPACE);
    } else if (back && shown > 0) {
      ShowSeen(ThisRun().seen[--shown]);
      paused = paused || delay > 0;
    } else if (delay > 0 && IsPause(key.code)) {
      TogglePause();
    } else if (answer && on_live && AnswerOf(key.code) != 0) {
      return Leave(AnswerOf(key.code));
    } else {
      continue;  // any other key changes nothing, the time left neither
    }
    deadline = CurrentPlatform().NowMs() + delay;
  }
}

}  // namespace

void PRINTARRAY() {
  if (!Modes.lines) {
    TEXTCOLOR(static_cast<uint8_t>(OUTPUTCOLOR[mskNormal]));
    for (int k = 1; k <= SIZE; ++k) Write({{A[k], kFieldWidth}});
  }
  GETUSERINPUT();
}

void BreakProgram() {
  // Under --screen-reader the message is the line after the last one written.
  if (Modes.lines)
    EndLine();
  else
    GOTOXY(1, kAbortRow);
  WriteLn({"breaking program"});
  runtime::Halt(kAbortStatus);
}

void GETUSERINPUT() {
  // In practice the learner's next action is the wait.
  if (Modes.practice) return Tell();
  Gate(false);
}

bool AwaitAnswer() {
  return Gate(true) == 'Y';
}

}  // namespace visualizer
