#include "visualizer/driver.hpp"

#include "console/console.hpp"
#include "console/cp866.hpp"
#include "console/write_statements.hpp"
#include "runtime/words.hpp"
#include "visualizer/cost.hpp"
#include "visualizer/insertion_sort.hpp"
#include "visualizer/practice.hpp"
#include "visualizer/sentences.hpp"
#include "visualizer/sort_state.hpp"
#include "visualizer/step_gate.hpp"
#include "visualizer/teaching.hpp"

namespace visualizer {

using namespace console;

namespace {

// The menu, in code page 866.
const char* const MENU[5] = {
    "\xA2\xEB\xA1\xAE\xE0 \xAC\xA0\xE1\xE1\xA8\xA2\xA0",  // выбор массива
    // 1 упорядоченный массив
    "1 \xE3\xAF\xAE\xE0\xEF\xA4\xAE\xE7\xA5\xAD\xAD\xEB\xA9 \xAC\xA0\xE1\xE1\xA8\xA2",
    // 2 максимально неупорядоченный массив
    "2 \xAC\xA0\xAA\xE1\xA8\xAC\xA0\xAB\xEC\xAD\xAE "
    "\xAD\xA5\xE3\xAF\xAE\xE0\xEF\xA4\xAE\xE7\xA5\xAD\xAD\xEB\xA9 \xAC\xA0\xE1\xE1\xA8\xA2",
    "3 \xAF\xE3\xE1\xE2\xAE\xA9 \xAC\xA0\xE1\xE1\xA8\xA2",  // 3 пустой массив
    // 4 массив со средней упорядоченностью
    "4 \xAC\xA0\xE1\xE1\xA8\xA2 \xE1\xAE \xE1\xE0\xA5\xA4\xAD\xA5\xA9 "
    "\xE3\xAF\xAE\xE0\xEF\xA4\xAE\xE7\xA5\xAD\xAD\xAE\xE1\xE2\xEC\xEE",
};

void Copy(const TArray& from) {
  for (int k = 1; k <= 10; ++k) A[k] = from[k];
}

}  // namespace

void SEL() {
  const uint8_t key = READKEY();
  switch (key) {
    case '1': Copy(B); break;
    case '2': Copy(C); break;
    case '3': Copy(D); break;
    case '4': Copy(E); break;
    default: break;  // selects nothing: A keeps its zeros
  }
  ThisRun().array_name = MenuArrayName(key - '0');
}

namespace {

// From the printout of the chosen array to the final line read.
void SortAndCount() {
  StartRun(static_cast<int32_t>(Inversions(A.items.data(), static_cast<std::size_t>(SIZE))));
  Say(ScreenKind::kStart, 0, [] { return PrintoutSentence(0, 0); });
  PRINTARRAY();
  if (Modes.practice)
    Practise();
  else
    INSERT();
  EndLine();
  WriteLn({"Total comparisons: ", CNT_COMP});
  WriteLn({"Total movings: ", CNT_SWAP});
  if (Modes.explain || Modes.lines)
    for (const std::string& line : LawLines()) WriteLn({Utf8ToCp866(line)});
  if (Modes.quiz) WriteLn({Utf8ToCp866(ScoreLine())});
  if (Modes.practice)
    for (const std::string& line : PracticeScoreLines()) WriteLn({Utf8ToCp866(line)});
  Say(ScreenKind::kTotals, 0, TotalsSentence);
  Tell();
  ReadLn();
}

}  // namespace

void RunDemo() {
  for (const char* line : MENU) WriteLn({line});
  Say(ScreenKind::kMenu, 0, MenuPrompt);
  Tell();
  SEL();
  SortAndCount();
}

void RunOwnArray(const std::vector<int32_t>& numbers, const std::string& name) {
  ThisRun().array_name = name;
  SIZE = static_cast<Index>(numbers.size());
  for (Index k = 1; k <= SIZE; ++k) A[k] = numbers[static_cast<std::size_t>(k - 1)];
  SortAndCount();
}

}  // namespace visualizer
