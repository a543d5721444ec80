#include "visualizer/step_display.hpp"

#include <algorithm>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "console/cp866.hpp"
#include "console/write_statements.hpp"
#include "runtime/words.hpp"
#include "visualizer/sentences.hpp"
#include "visualizer/step_gate.hpp"
#include "visualizer/teaching.hpp"

namespace visualizer {

using namespace console;

namespace {

// The frame's layout: the picture's ten fields, then the caption from column 41 in a field
// of 25; the closing line end is written from column 79, which leaves the caption's row.
constexpr uint8_t kCaptionColumn = 41;
constexpr int32_t kCaptionWidth = 25;
constexpr uint8_t kLineEndColumn = 79;
// The step in words (--explain), a question and its answer (--quiz): on the picture's second
// row after its forty columns, and on the first row after the caption.
constexpr uint8_t kLineColumn = 42;
constexpr int32_t kLineWidth = 38;
constexpr uint8_t kVerdictColumn = 67;
constexpr int32_t kVerdictWidth = 13;
// A frame begun below row 22 of a 25-row window first makes room, and is drawn from two
// rows higher up. In a taller window the bound moves down with the bottom, so that frames
// run down the screen without overwriting each other.
constexpr uint8_t kLastRowWithRoom = 22;
constexpr uint8_t kRowsBelowTheBound = 3;
constexpr uint8_t kRiseAfterScroll = 2;

// The last row a frame starts on without making room first.
uint32_t RoomBound() {
  const uint32_t height = WINDMAXY - WINDMINY + 1;
  return std::max<uint32_t>(kLastRowWithRoom, height - kRowsBelowTheBound);
}

// X line ends: near the bottom they push the screen up.
void SCROLL(uint8_t x) {
  for (uint8_t n = 1; n <= x; ++n) WriteLn();
}

void ShowSelect(Index i) {
  for (Index k = 1; k <= SIZE; ++k) {
    SHOW_MASK[1][k] = k == i ? mskHidden : mskNormal;
    SHOW_MASK[2][k] = k == i ? mskNormal : mskHidden;
    SHOW_VALUES[1][k] = A[k];
    SHOW_VALUES[2][k] = A[k];
  }
}

void ShowCompare(Index i, Index j) {
  ++CNT_COMP;
  // Red: the compared element is larger and will move right.
  const TMask outcome = ThisRun().larger ? mskRed : mskGreen;
  ThisRun().law.stops += outcome == mskGreen ? 1 : 0;
  for (Index k = 1; k <= SIZE; ++k) {
    if (k == i) SHOW_MASK[2][k] = outcome;
    if (k == j) SHOW_MASK[1][k] = outcome;
    SHOW_VALUES[1][k] = A[k];
    SHOW_VALUES[2][k] = A[k];
  }
  for (Index k = 1; k <= SIZE; ++k)
    if (k != i) SHOW_MASK[2][k] = mskHidden;
  SHOW_MASK[1][j + 1] = mskHidden;  // the hole where the element would go
  SHOW_VALUES[2][i] = X;
}

void ShowMove(Index i, Index j) {
  ++CNT_SWAP;
  for (Index k = 1; k <= SIZE; ++k) {
    SHOW_MASK[1][k] = mskNormal;
    SHOW_MASK[2][k] = mskHidden;
    SHOW_VALUES[1][k] = A[k];
  }
  SHOW_MASK[1][j + 1] = mskHidden;  // the hole has moved one place left
  SHOW_MASK[2][i] = mskNormal;
  SHOW_VALUES[2][i] = X;
}

// Draws the two picture rows from row POSY in their colours.
void DrawPicture(uint8_t posy) {
  for (Index m = 1; m <= 2; ++m) {
    for (Index k = 1; k <= SIZE; ++k) {
      GOTOXY(static_cast<uint8_t>(kFieldWidth * (k - 1) + 1), static_cast<uint8_t>(posy + m - 1));
      TEXTCOLOR(static_cast<uint8_t>(OUTPUTCOLOR[SHOW_MASK[m][k]]));
      Write({{SHOW_VALUES[m][k], kFieldWidth}});
    }
  }
  TEXTCOLOR(static_cast<uint8_t>(OUTPUTCOLOR[mskNormal]));
}

// Words (UTF-8) from column COLUMN of ROW, in a field of WIDTH filled with blanks after them.
void WriteLeft(uint8_t column, uint8_t row, std::string_view words, int32_t width) {
  GOTOXY(column, row);
  const std::string text = Utf8ToCp866(words);
  Write({text, {"", width - static_cast<int32_t>(text.size())}});
}

// Draws the frame: "i = IVAL", the picture, caption S, and LINE (when not empty) on the
// picture's second row after it. Returns the row of the picture's first row.
uint8_t DrawFrame(const char* s, int32_t ival, std::string_view line) {
  uint8_t posy = WHEREY();
  if (Modes.lines) return posy;  // the screen's line says it all
  // Near the bottom, make room first.
  if (posy > RoomBound()) {
    SCROLL(SCROLLBY);
    posy = static_cast<uint8_t>(posy - kRiseAfterScroll);
    GOTOXY(1, posy);
  }
  WriteLn({"i = ", ival});
  posy = WHEREY();
  DrawPicture(posy);
  GOTOXY(kCaptionColumn, static_cast<uint8_t>(WHEREY() - 1));
  Write({{s, kCaptionWidth}});
  const auto below = static_cast<uint8_t>(WHEREY() + 1);
  if (!line.empty()) WriteLeft(kLineColumn, static_cast<uint8_t>(posy + 1), line, kLineWidth);
  GOTOXY(kLineEndColumn, below);
  WriteLn();
  return posy;
}

// A comparison under --quiz: the frame first with the outcome held back and the question,
// then, once answered, with the outcome and whether the answer was right.
void AskComparison(Index i, Index j) {
  const std::string sentence = StepSentence(opCompare, i, j);
  const TMask outcome = SHOW_MASK[1][j];
  SHOW_MASK[1][j] = SHOW_MASK[2][i] = mskNormal;
  const std::string question = Question(j);
  Say(ScreenKind::kQuestion, i, [&] { return question; });
  const uint8_t posy = DrawFrame(STRACTION[opCompare], i, question);
  const bool right = AwaitAnswer() == (outcome == mskRed);
  ++ThisRun().score.asked;
  ThisRun().score.right += right ? 1 : 0;
  SHOW_MASK[1][j] = SHOW_MASK[2][i] = outcome;
  if (!Modes.lines) {
    DrawPicture(posy);
    WriteLeft(kVerdictColumn, posy, VerdictCaption(right), kVerdictWidth);
    WriteLeft(kLineColumn, static_cast<uint8_t>(posy + 1), Modes.explain ? sentence : "",
              kLineWidth);
    GOTOXY(1, static_cast<uint8_t>(posy + 2));
  }
  Say(ScreenKind::kCompare, i, [&] { return VerdictSentence(right, sentence); });
  GETUSERINPUT();
}

}  // namespace

void WriteSentenceField(uint8_t row, std::string_view words) {
  WriteLeft(kLineColumn, row, words, kLineWidth);
}

void SHOWSTEP(TOperation op, int32_t i, int32_t j) {
  switch (op) {
    case opSelect: ShowSelect(static_cast<Index>(i)); break;
    case opCompare: ShowCompare(static_cast<Index>(i), static_cast<Index>(j)); break;
    case opMove: ShowMove(static_cast<Index>(i), static_cast<Index>(j)); break;
  }
  if (Modes.quiz && op == opCompare)
    return AskComparison(static_cast<Index>(i), static_cast<Index>(j));
  constexpr ScreenKind kKinds[3] = {ScreenKind::kSelect, ScreenKind::kCompare, ScreenKind::kMove};
  const std::string sentence = Say(kKinds[op], i, [&] { return StepSentence(op, i, j); });
  DrawFrame(STRACTION[op], i, Modes.explain ? sentence : "");
  GETUSERINPUT();
}

}  // namespace visualizer
