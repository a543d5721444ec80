#include "visualizer/teaching.hpp"

#include <initializer_list>

#include "console/console.hpp"
#include "visualizer/screen_description.hpp"

namespace visualizer {

Teaching TEACHING;
int32_t ASKED = 0;
int32_t RIGHT = 0;
int32_t INVERSIONS = 0;
int32_t STOPS = 0;
std::string ARRAY_NAME;
std::string SAID;

namespace {

// One piece of a sentence: words, or a number.
struct Piece {
  Piece(const char* words) : text(words) {}
  Piece(int32_t number) : text(std::to_string(number)) {}
  std::string text;
};

std::string Sentence(std::initializer_list<Piece> pieces) {
  std::string sentence;
  for (const Piece& piece : pieces) sentence.append(piece.text);
  return sentence;
}

}  // namespace

namespace {
bool TOLD = true;  // SAID is with the console
}  // namespace

bool SAYING() {
  return TEACHING.back || TEACHING.explain || TEACHING.quiz || TEACHING.describe;
}

void SAY(std::string_view kind, int32_t i, const std::string& sentence) {
  if (!TEACHING.back && !TEACHING.describe) return;
  SAID = DescribeScreen(kind, i, sentence, kind == "menu" ? sentence : WhereSentence(kind, i));
  TOLD = false;
}

// The console is called only here, at the waits: on the page such a call may suspend the
// program, as far as its compiler can tell, and every function on such a path grows.
void TELL() {
  if (TOLD || !TEACHING.describe) return;
  console::CurrentPlatform().Describe(SAID);
  TOLD = true;
}

void SAY_AGAIN(const std::string& description) {
  SAID = description;
  TOLD = false;
  TELL();
}

std::string StepSentence(TOperation op, int32_t i, int32_t j) {
  switch (op) {
    case opSelect:
      if (i == 1) return Sentence({"take up ", X, ": alone, it is in order"});
      return Sentence({"take up ", X, " to put it in order"});
    case opCompare:
      if (A[j] > X) return Sentence({X, " < ", A[j], ": ", A[j], " moves one place right"});
      return Sentence({A[j], " <= ", X, ": ", X, " goes in after ", A[j]});
    case opMove:
      // The element moved now stands right of the gap, which is at J + 1.
      if (j == 0) return Sentence({A[j + 2], " moved right; ", X, " goes to place 1"});
      return Sentence({A[j + 2], " moved right; the gap is now at ", j + 1});
  }
  return {};
}

std::vector<std::string> LawLines() {
  std::string moves =
      CNT_SWAP == 0 ? Sentence({"0 moves: no pair was out of order"})
      : CNT_SWAP == 1
          ? Sentence({"1 move: one for the one pair out of order"})
          : Sentence({CNT_SWAP, " moves: one for each of the ", INVERSIONS, " pairs out of order"});
  return {moves, Sentence({CNT_COMP, CNT_COMP == 1 ? " comparison: " : " comparisons: ", CNT_SWAP,
                           " that moved an element, ", STOPS, " that stopped one"})};
}

std::string MenuArrayName(int key) {
  static const char* const kNames[] = {"no choice: all zeros", "1 ordered", "2 in reverse order",
                                       "3 empty (all zeros)", "4 medium order"};
  return kNames[key >= 1 && key <= 4 ? key : 0];
}

std::string OwnArrayName(const std::vector<int32_t>& numbers) {
  std::string name = "your own:";
  for (const int32_t number : numbers) name.append(Sentence({" ", number}));
  return name;
}

std::string RandomArrayName(uint32_t seed) {
  return "random, seed " + std::to_string(seed);
}

std::string InOrderName() {
  return "in order";
}

std::string InReverseName() {
  return "in reverse order";
}

std::vector<std::string> CostTableHeadings() {
  return {"array", "n", "inversions", "comparisons", "moves", "n-1", "n(n-1)/2"};
}

std::string CostTableNote(uint32_t seed) {
  return "Inversions are the pairs out of order. The random rows come again with --seed " +
         std::to_string(seed) + ".";
}

std::string Question(int32_t j) {
  return Sentence({"does ", A[j], " move right? (y/n)"});
}

std::string PrintoutSentence(int32_t i, int32_t at) {
  std::string sentence =
      i == 0 ? Sentence({"the array to sort:"})
             : Sentence({A[at], " went in at place ", at, "; places 1 to ", i, " are in order:"});
  for (Index k = 1; k <= SIZE; ++k) sentence.append(Sentence({" ", A[k]}));
  return sentence;
}

std::string TotalsSentence() {
  std::string sentence =
      Sentence({"sorted with ", CNT_COMP, CNT_COMP == 1 ? " comparison" : " comparisons", " and ",
                CNT_SWAP, CNT_SWAP == 1 ? " move" : " moves"});
  if (TEACHING.quiz) sentence.append(Sentence({"; predictions right: ", RIGHT, " of ", ASKED}));
  return sentence;
}

namespace {

// Appends WORDS, then NUMBER when it is given.
[[gnu::noinline]] void Add(std::string& to, const char* words, const int32_t* number = nullptr) {
  to.append(words);
  if (number != nullptr) to.append(std::to_string(*number));
}

}  // namespace

std::string WhereSentence(std::string_view kind, int32_t i) {
  const bool frame = IsFrame(kind);
  std::string where;
  Add(where, kind == "start" ? "before the sort:" : kind == "totals" ? "sorted:" : "");
  if (frame || kind == "printout") {
    Add(where, "i = ", &i);
    Add(where, ":");
  }
  // The array's row: blanks between the numbers, a comma round the gap.
  for (Index k = 1; k <= SIZE; ++k) {
    const bool gap = frame && SHOW_MASK[1][k] == mskHidden;
    if (k > 1 && (gap || (frame && SHOW_MASK[1][k - 1] == mskHidden))) Add(where, ",");
    if (gap)
      Add(where, " gap");
    else
      Add(where, " ", frame ? &SHOW_VALUES[1][k] : &A[k]);
  }
  if (kind == "totals") {
    Add(where, "; ", &CNT_COMP);
    Add(where, CNT_COMP == 1 ? " comparison, " : " comparisons, ", &CNT_SWAP);
    Add(where, CNT_SWAP == 1 ? " move" : " moves");
  }
  if (!frame) return where;
  Add(where, "; ", &SHOW_VALUES[2][i]);
  Add(where, " is being inserted");
  // The compared element: the cell in the outcome's colour, or, while the outcome is held
  // back, the one left of the gap.
  const TMask outcome = SHOW_MASK[2][i];
  for (Index k = 1; k <= SIZE; ++k) {
    const bool asked = kind == "question" && k < SIZE && SHOW_MASK[1][k + 1] == mskHidden;
    if (SHOW_MASK[1][k] == mskRed || SHOW_MASK[1][k] == mskGreen || asked)
      Add(where, ", compared with ", &SHOW_VALUES[1][k]);
  }
  if (outcome != mskNormal)
    Add(where, outcome == mskRed ? ", which is larger" : ", which is not larger");
  return where;
}

}  // namespace visualizer
