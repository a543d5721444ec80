#include "visualizer/practice.hpp"

#include <algorithm>
#include <string>

#include "console/console.hpp"
#include "visualizer/insertion_sort.hpp"
#include "visualizer/sentences.hpp"
#include "visualizer/step_display.hpp"
#include "visualizer/step_gate.hpp"
#include "visualizer/teaching.hpp"

namespace visualizer {

using namespace console;

namespace {

constexpr uint8_t kEnter = 13;

// What the learner does: move the cursor, move the element left of the gap, or take up
// or put down (Down and Enter).
enum class Act : uint8_t { kLeft, kRight, kDown };

// Where the demonstration would leave the cursor after what was drawn last, and the row of
// the field for words: the words of a practice go where --explain puts a step's sentence,
// on the second row of the frame drawn last, or on the row of the printout.
struct Spot {
  uint8_t x = 1;
  uint8_t y = 1;
  uint8_t field_row = 1;
  bool field_used = false;  // words of ours stand in a printout's field
};
Spot Here;
// The words of what happened last, for a page to say at the next action's wait.
std::string Words;

uint8_t WhereX() {
  uint32_t x = 0;
  uint32_t y = 0;
  GETSCREENCURSOR(x, y);
  return static_cast<uint8_t>(x - WINDMINX + 1);
}

// After a printout the cursor stands on its row, after the numbers; after a frame, at the
// start of the row below it.
void Drawn(bool printout) {
  Here = {WhereX(), WHEREY(), static_cast<uint8_t>(WHEREY() - (printout ? 0 : 1)), false};
}

void Say(const std::string& words) {
  Words = words;
  if (Modes.lines) return SayLine(words);
  WriteSentenceField(Here.field_row, words);
  Here.field_used = Here.field_row == Here.y;
  GOTOXY(Here.x, Here.y);
}

// Before the next frame: the cursor where the demonstration has it, no words of ours left
// in a printout's field, which the frame's "i = " does not overwrite.
void Resume() {
  if (Modes.lines) return;
  if (Here.field_used) WriteSentenceField(Here.field_row, "");
  GOTOXY(Here.x, Here.y);
}

// The next action at the screen of KIND about the element at I, the cursor shown on place
// PLACE of ROW meanwhile; Esc stops as anywhere.
Act NextAct(ScreenKind kind, Index i, Index place, uint8_t row) {
  ThisRun().practice_cursor = place;
  Say(
      kind, i, [] { return Words; }, false);
  Tell();
  if (!Modes.lines) GOTOXY(static_cast<uint8_t>(kFieldWidth * place), row);
  for (;;) {
    const uint8_t key = READKEY();
    if (key == KBESC) BreakProgram();
    if (key == kEnter) return Act::kDown;
    if (key != 0) continue;
    switch (READKEY()) {
      case scan::kLeft: return Act::kLeft;
      case scan::kRight: return Act::kRight;
      case scan::kDown: return Act::kDown;
      default: break;
    }
  }
}

// A mistake of KIND in pass I about the element at PLACE (0: the one held): counted and
// named. Returns true after the second at the same step,
// when the program does the step itself.
bool Wrong(PracticeMistake kind, Index i, Index place, int32_t& tries) {
  ++ThisRun().practised.mistakes[static_cast<int>(kind)];
  Say(MistakeSentence(kind, i, place));
  return ++tries == 2;
}

// A step done: counted, and said to be the program's when the learner's tries ran out.
void Done(int32_t tries) {
  ++ThisRun().practised.steps;
  ThisRun().practised.right += tries == 0 ? 1 : 0;
  if (tries == 2) Say(DoneForYouSentence());
}

// Pass I: the learner takes up the element at I, the cursor starting on place FROM.
void Take(Index i, Index from) {
  Index cursor = from;
  int32_t tries = 0;
  bool moved = true;
  for (;;) {
    // Under --screen-reader the cursor's place and value are said wherever it goes.
    if (moved && Modes.lines) SayLine(CursorSentence(cursor));
    if (moved && cursor != from) Words = CursorSentence(cursor);
    moved = false;
    const Act act = NextAct(ScreenKind::kTake, i, cursor, Here.field_row);
    if (act != Act::kDown) {
      const auto next =
          static_cast<Index>(std::clamp(cursor + (act == Act::kLeft ? -1 : 1), 1, +SIZE));
      moved = next != cursor;
      cursor = next;
      continue;
    }
    if (cursor == i) break;
    const auto rest = std::min_element(&A[i], &A[SIZE] + 1);
    const PracticeMistake kind = cursor < i           ? PracticeMistake::kSortedAlready
                                 : A[cursor] == *rest ? PracticeMistake::kSelectionStep
                                                      : PracticeMistake::kNotNext;
    if (Wrong(kind, i, cursor, tries)) break;
  }
  X = A[i];
  Resume();
  SHOWSTEP(opSelect, i, i - 1);
  Drawn(false);
  Words = Saying() ? StepSentence(opSelect, i, i - 1) : "";
  Done(tries);
}

}  // namespace

void Practise() {
  CNT_COMP = 0;
  CNT_SWAP = 0;
  Drawn(true);  // the array before the sort
  Words = Saying() ? PrintoutSentence(0, 0) : "";
  Index put = 1;
  for (Index i = 1; i <= SIZE; ++i) {
    Take(i, put);
    auto j = static_cast<Index>(i - 1);
    for (bool moved = true; moved;) {
      const bool larger = j > 0 && A[j] > X;
      int32_t tries = 0;
      for (;;) {
        const Act act = NextAct(ScreenKind::kHold, i, static_cast<Index>(j + 1),
                                static_cast<uint8_t>(Here.y - 2));
        if (act == Act::kRight) continue;
        if ((act == Act::kLeft) == larger) break;
        const PracticeMistake kind = act == Act::kDown ? PracticeMistake::kTooEarly
                                     : j == 0          ? PracticeMistake::kNothingLeft
                                     : A[j] == X       ? PracticeMistake::kEqualStays
                                                       : PracticeMistake::kSmallerStays;
        if (Wrong(kind, i, j, tries)) break;
      }
      Resume();
      ThisRun().larger = larger;
      if (j > 0) SHOWSTEP(opCompare, i, j);
      moved = larger;
      if (moved) {
        A[j + 1] = A[j];
        --j;
        SHOWSTEP(opMove, i, j);
      }
      if (!moved) {
        A[j + 1] = X;
        ShowPlaced(i, static_cast<Index>(j + 1));
      }
      Drawn(!moved);
      if (Saying())
        Words = moved ? StepSentence(opMove, i, j) : PrintoutSentence(i, static_cast<Index>(j + 1));
      Done(tries);
    }
    put = static_cast<Index>(j + 1);
  }
}

}  // namespace visualizer
