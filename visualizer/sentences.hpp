// What the program says in words: each step's sentence, the question of --quiz, the
// printouts and the totals, the law after them, where the run stands, and the names of
// arrays and the headings of --compare, all looked up in the catalogue of words
// (runtime/words.hpp). The one place where the teaching words are made.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "visualizer/run_record.hpp"
#include "visualizer/screen_kinds.hpp"
#include "visualizer/sort_state.hpp"

namespace visualizer {

// The step OP of element I (J as SHOWSTEP has it) in one sentence of at most 38
// characters, from A and X as they stand when the frame is drawn.
std::string StepSentence(TOperation op, int32_t i, int32_t j);
// The question of --quiz for the comparison of X with A[J]; the verdict on its answer (RIGHT
// or not) beside the frame's caption, and with the step's SENTENCE for the description.
std::string Question(int32_t j);
std::string_view VerdictCaption(bool right);
std::string VerdictSentence(bool right, const std::string& sentence);
// The menu's prompt, for a page and a screen reader.
std::string MenuPrompt();
// Auto-play PAUSED, or playing on again.
std::string PauseWords(bool paused);
// The printout after the element at I went in at AT; I = 0: the array before the sort.
std::string PrintoutSentence(int32_t i, int32_t at);
// A practice's mistake of KIND in pass I about the element at PLACE (0: the element held,
// with the gap at place 1), in at most 38 characters, from A and X and, for a move, the
// frame drawn last; what the program says when it has done a step itself; and the score,
// after the totals.
std::string MistakeSentence(PracticeMistake kind, int32_t i, int32_t place);
std::string DoneForYouSentence();
// The word for an element's ORDER among equal values (1: "1st"), as OrderAmongEquals gives
// it; empty for 0.
std::string OrderWord(int32_t order);
// Where the cursor of practice stands: its PLACE and the value there.
std::string CursorSentence(int32_t place);
std::vector<std::string> PracticeScoreLines();
// The score of --quiz, after the totals.
std::string ScoreLine();
// What the sort cost, in words: its comparisons and moves. Every telling of the totals
// words them so, the page's too.
std::string CostSentence();
// The totals, with the score under --quiz.
std::string TotalsSentence();
// The law of the run, after the totals under --explain: two lines with its numbers.
std::vector<std::string> LawLines();

// What an array is called in the tables of runs: the menu's (KEY 1 to 4; another key
// chooses none), one of the user's own, one drawn at random from SEED, one in order or in
// reverse order.
std::string MenuArrayName(int key);
std::string OwnArrayName(const std::vector<int32_t>& numbers);
std::string RandomArrayName(uint32_t seed);
std::string InOrderName();
std::string InReverseName();
// The headings of --compare's columns, the array's first, and the line under its rows.
std::vector<std::string> CostTableHeadings();
std::string CostTableNote(uint32_t seed);

// The line that --screen-reader writes for the screen of KIND about the element at I, whose
// step is SENTENCE: the sentence first, then each place's number, the gap as a word.
std::string ScreenLine(ScreenKind kind, int32_t i, const std::string& sentence);
// Where the run stands at the screen of KIND about the element at I, with every number
// that the screen shows: the array as the frame shows it, the element and what it is
// compared with.
std::string WhereSentence(ScreenKind kind, int32_t i);

}  // namespace visualizer
