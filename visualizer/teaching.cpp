#include "visualizer/teaching.hpp"

#include <initializer_list>

#include "console/console.hpp"

namespace visualizer {

Teaching TEACHING;
int32_t ASKED = 0;
int32_t RIGHT = 0;
std::string SAID_KIND;
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

bool SAYING() {
  return TEACHING.back || TEACHING.explain || TEACHING.quiz ||
         console::CurrentPlatform().Narrates();
}

void SAY(std::string_view kind, std::string sentence) {
  SAID_KIND = kind;
  SAID = std::move(sentence);
  console::CurrentPlatform().Narrate(SAID_KIND, SAID);
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

}  // namespace visualizer
