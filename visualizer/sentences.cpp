#include "visualizer/sentences.hpp"

#include "runtime/words.hpp"
#include "visualizer/run_record.hpp"

namespace visualizer {

using runtime::N_;
using runtime::Tr;
using runtime::TrN;

std::string StepSentence(TOperation op, int32_t i, int32_t j) {
  switch (op) {
    case opSelect:
      if (i == 1) return Tr("take up {x}: alone, it is in order", {{"x", X}});
      return Tr("take up {x} to put it in order", {{"x", X}});
    case opCompare:
      if (ThisRun().larger)
        return Tr("{x} < {y}: {y} moves one place right", {{"x", X}, {"y", A[j]}});
      return Tr("{y} <= {x}: {x} goes in after {y}", {{"x", X}, {"y", A[j]}});
    case opMove:
      // The element moved now stands right of the gap, which is at J + 1.
      if (j == 0) return Tr("{y} moved right; {x} goes to place 1", {{"x", X}, {"y", A[j + 2]}});
      return Tr("{y} moved right; the gap is now at {k}", {{"y", A[j + 2]}, {"k", j + 1}});
  }
  return {};
}

std::vector<std::string> LawLines() {
  std::string moves = CNT_SWAP == 0
                          ? std::string(Tr("0 moves: no pair was out of order"))
                          : TrN("{n} move: one for the one pair out of order",
                                "{n} moves: one for each of the {pairs} pairs out of order",
                                CNT_SWAP, {{"pairs", ThisRun().law.inversions}});
  return {moves, TrN("{n} comparison: {moved} that moved an element, {stopped} that stopped one",
                     "{n} comparisons: {moved} that moved an element, {stopped} that stopped one",
                     CNT_COMP, {{"moved", CNT_SWAP}, {"stopped", ThisRun().law.stops}})};
}

std::string MenuArrayName(int key) {
  switch (key) {
    case 1: return std::string(Tr("1 ordered"));
    case 2: return std::string(Tr("2 in reverse order"));
    case 3: return std::string(Tr("3 empty (all zeros)"));
    case 4: return std::string(Tr("4 medium order"));
    default: return std::string(Tr("no choice: all zeros"));
  }
}

std::string OwnArrayName(const std::vector<int32_t>& numbers) {
  std::string list;
  for (const int32_t number : numbers) list.append(" ").append(std::to_string(number));
  return Tr("your own:{numbers}", {{"numbers", list}});
}

std::string RandomArrayName(uint32_t seed) {
  return Tr("random, seed {seed}", {{"seed", seed}});
}

std::string InOrderName() {
  return std::string(Tr("in order"));
}

std::string InReverseName() {
  return std::string(Tr("in reverse order"));
}

std::vector<std::string> CostTableHeadings() {
  return {std::string(Tr("array")),
          "n",
          std::string(Tr("inversions")),
          std::string(Tr("comparisons")),
          std::string(Tr("moves")),
          std::string(Tr("moves with <=")),
          "n-1",
          "n(n-1)/2"};
}

std::string CostTableNote(uint32_t seed) {
  return Tr(
      "Inversions are the pairs out of order. Moves with <= are those of the same sort if its\n"
      "test moved an equal element too (a[j] >= x): equal values would change places, and the\n"
      "sort would no longer be stable. The random rows come again with --seed {seed}.",
      {{"seed", seed}});
}

std::string Question(int32_t j) {
  return Tr("does {y} move right? (y/n)", {{"y", A[j]}});
}

std::string_view VerdictCaption(bool right) {
  return right ? Tr("answer: right") : Tr("answer: wrong");
}

std::string VerdictSentence(bool right, const std::string& sentence) {
  return right ? Tr("right, {step}", {{"step", sentence}})
               : Tr("wrong, {step}", {{"step", sentence}});
}

std::string MenuPrompt() {
  return std::string(Tr("choose an array: 1 to 4"));
}

std::string PauseWords(bool paused) {
  return std::string(paused ? Tr("paused: P plays on") : Tr("playing on"));
}

std::string PrintoutSentence(int32_t i, int32_t at) {
  std::string numbers;
  for (Index k = 1; k <= SIZE; ++k) numbers.append(" ").append(std::to_string(A[k]));
  if (i == 0) return Tr("the array to sort:{numbers}", {{"numbers", numbers}});
  return TrN("{x} went in at place {at}; place 1 is in order:{numbers}",
             "{x} went in at place {at}; places 1 to {n} are in order:{numbers}", i,
             {{"x", A[at]}, {"at", at}, {"numbers", numbers}});
}

namespace {

std::string Comparisons(int64_t n) {
  return TrN("{n} comparison", "{n} comparisons", n, {});
}

std::string Moves(int64_t n) {
  return TrN("{n} move", "{n} moves", n, {});
}

}  // namespace

std::string CostSentence() {
  return Tr("{comparisons} and {moves}",
            {{"comparisons", Comparisons(CNT_COMP)}, {"moves", Moves(CNT_SWAP)}});
}

std::string ScoreLine() {
  return Tr("predictions right: {right} of {asked}",
            {{"right", ThisRun().score.right}, {"asked", ThisRun().score.asked}});
}

std::string MistakeSentence(PracticeMistake kind, int32_t i, int32_t place) {
  const int32_t y = place > 0 ? A[place] : X;
  switch (kind) {
    case PracticeMistake::kSortedAlready:
      return Tr("{y} is in the sorted part already", {{"y", y}});
    case PracticeMistake::kSelectionStep:
      return Tr("{y}: smallest first is selection sort", {{"y", y}});
    case PracticeMistake::kNotNext: return Tr("{y} is not the next one to insert", {{"y", y}});
    case PracticeMistake::kSmallerStays:
      return Tr("{y} < {x}: a smaller one stays", {{"y", y}, {"x", X}});
    case PracticeMistake::kEqualStays: {
      // The equal ones told apart by their order: the one left of the gap came first.
      const int32_t earlier = OrderAmongEquals(true, i, place);
      if (earlier == 0) return Tr("{y} = {x}: moving it breaks stability", {{"y", y}, {"x", X}});
      return Tr("the {earlier} {x} stays before the {later}",
                {{"earlier", OrderWord(earlier)},
                 {"x", X},
                 {"later", OrderWord(OrderAmongEquals(true, i, 0))}});
    }
    case PracticeMistake::kTooEarly:
      return Tr("{y} > {x}: {y} must move first", {{"y", y}, {"x", X}});
    case PracticeMistake::kNothingLeft:
      return Tr("nothing left of the gap: put {x} down", {{"x", X}});
  }
  return {};
}

std::string OrderWord(int32_t order) {
  static constexpr std::string_view kOrders[] = {N_("1st"), N_("2nd"), N_("3rd"), N_("4th"),
                                                 N_("5th"), N_("6th"), N_("7th"), N_("8th"),
                                                 N_("9th"), N_("10th")};
  return order < 1 || order > 10 ? std::string() : std::string(Tr(kOrders[order - 1]));
}

std::string CursorSentence(int32_t place) {
  return Tr("cursor on place {k}: {y}", {{"k", place}, {"y", A[place]}});
}

std::string DoneForYouSentence() {
  return std::string(Tr("two tries: the program did this step"));
}

std::vector<std::string> PracticeScoreLines() {
  static constexpr std::string_view kNames[kPracticeMistakes] = {
      N_("took a sorted element"),         N_("took the smallest (selection sort)"),
      N_("took an element out of turn"),   N_("moved a smaller element"),
      N_("moved an equal element"),        N_("put down too early"),
      N_("moved with nothing to compare"),
  };
  std::vector<std::string> lines{
      Tr("steps right at the first try: {right} of {steps}",
         {{"right", ThisRun().practised.right}, {"steps", ThisRun().practised.steps}})};
  for (int k = 0; k < kPracticeMistakes; ++k)
    if (ThisRun().practised.mistakes[k] > 0)
      lines.push_back(TrN("{mistake}: {n} time", "{mistake}: {n} times",
                          ThisRun().practised.mistakes[k], {{"mistake", Tr(kNames[k])}}));
  return lines;
}

std::string TotalsSentence() {
  std::string sentence = Tr("sorted with {cost}", {{"cost", CostSentence()}});
  if (Modes.quiz) sentence.append("; ").append(ScoreLine());
  return sentence;
}

namespace {

// The array as the screen of KIND shows it, each number after a blank, and a comma round
// the gap of a frame.
std::string ArrayInWords(ScreenKind kind) {
  const bool frame = RowOf(kind).frame;
  std::string numbers;
  for (Index k = 1; k <= SIZE; ++k) {
    const bool gap = frame && SHOW_MASK[1][k] == mskHidden;
    if (k > 1 && (gap || (frame && SHOW_MASK[1][k - 1] == mskHidden))) numbers.push_back(',');
    numbers.push_back(' ');
    numbers.append(gap ? std::string(Tr("gap")) : std::to_string(frame ? SHOW_VALUES[1][k] : A[k]));
  }
  return numbers;
}

}  // namespace

std::string ScreenLine(ScreenKind kind, int32_t i, const std::string& sentence) {
  if (kind == ScreenKind::kTotals) return std::string(Tr("type a line and press Enter"));
  if (!RowOf(kind).frame) return sentence;
  return Tr("i = {i}: {step}.{numbers}",
            {{"i", i}, {"step", sentence}, {"numbers", ArrayInWords(kind)}});
}

std::string WhereSentence(ScreenKind kind, int32_t i) {
  const bool frame = RowOf(kind).frame;
  const std::string numbers = ArrayInWords(kind);
  if (kind == ScreenKind::kStart) return Tr("before the sort:{numbers}", {{"numbers", numbers}});
  if (kind == ScreenKind::kTotals)
    return Tr("sorted:{numbers}; {cost}", {{"numbers", numbers}, {"cost", CostSentence()}});
  std::string where = Tr("i = {i}:{numbers}", {{"i", i}, {"numbers", numbers}});
  if (!frame) return where;
  where.append(Tr("; {x} is being inserted", {{"x", SHOW_VALUES[2][i]}}));
  // The compared element: the cell in the outcome's colour, or, while the outcome is held
  // back, the one left of the gap.
  const TMask outcome = SHOW_MASK[2][i];
  for (Index k = 1; k <= SIZE; ++k) {
    const bool asked =
        kind == ScreenKind::kQuestion && k < SIZE && SHOW_MASK[1][k + 1] == mskHidden;
    if (SHOW_MASK[1][k] == mskRed || SHOW_MASK[1][k] == mskGreen || asked)
      where.append(Tr(", compared with {y}", {{"y", SHOW_VALUES[1][k]}}));
  }
  if (outcome != mskNormal)
    where.append(outcome == mskRed ? Tr(", which is larger") : Tr(", which is not larger"));
  return where;
}

}  // namespace visualizer
