// The demonstration's rules, run in-process on the in-memory console: what each frame
// shows in which colour, the counters, the step gate and the room made near the bottom.
#include <cstdlib>
#include <string>
#include <vector>

#include "console/cp866.hpp"
#include "console/window_copy.hpp"
#include "console/write_statements.hpp"
#include "console_fixture.hpp"
#include "platform_cases.hpp"
#include "runtime/words.hpp"
#include "visualizer/command_line.hpp"
#include "visualizer/cost.hpp"
#include "visualizer/insertion_sort.hpp"
#include "visualizer/practice.hpp"
#include "visualizer/sentences.hpp"
#include "visualizer/sort_state.hpp"
#include "visualizer/step_display.hpp"
#include "visualizer/step_gate.hpp"
#include "visualizer/teaching.hpp"

namespace visualizer {
namespace {

using console::GOTOXY;
using console::MakeKey;
using console::MemoryConsole;
using console::TEXTCOLOR;
using console::WriteLn;

const console::KeyEvent kSpace = MakeKey(57, ' ', 0, ' ');

class Visualizer : public console::testing::ConsoleTest {
 protected:
  void SetUp() override {
    Open(80, 25, console::Rect{0, 0, 79, 24}, 0x07);
    // Every gate finds a Space when it waits.
    screen->OnWait([](MemoryConsole& console) { console.PushKey(kSpace); });
    CNT_COMP = 0;
    CNT_SWAP = 0;
    SHOW_MASK = {};
    SHOW_VALUES = {};
  }

  // The colours of picture row ROW (a window row) as letters: H hidden (black), N normal
  // (light grey), R red, G green; '?' for anything else or a field in mixed colours.
  std::string Masks(int row) {
    std::string masks;
    for (int k = 1; k <= 10; ++k) {
      char mask = '?';
      for (int x = 4 * (k - 1) + 1; x <= 4 * k; ++x) {
        const char here = Letter(At(x, row).attribute & 0x0F);
        mask = x == 4 * (k - 1) + 1 || here == mask ? here : '?';
      }
      masks.push_back(mask);
    }
    return masks;
  }
  static char Letter(int colour) {
    switch (colour) {
      case 0: return 'H';
      case 7: return 'N';
      case 12: return 'R';
      case 10: return 'G';
      default: return '?';
    }
  }
};

// A step shown by hand, not by the sort: for a comparison, the sort's answer as the values
// give it, which the frame and its sentence take.
void AnswerComparison(TOperation op, int j) {
  ThisRun().larger = op == opCompare && A[j] > X;
}

struct Step {
  TOperation op;
  int i;
  int j;
};

struct FrameCase {
  const char* name;
  TArray a;  // the array as the last step sees it
  int32_t x;
  std::vector<Step> steps;  // the last one is checked
  const char* upper;        // its masks
  const char* lower;
  int comparisons;
  int moves;
};

TEST_F(Visualizer, EachFrameKindShowsItsCellsInTheirColours) {
  const TArray e = E;
  const TArray moved{{44, 55, 55, 42, 94, 18, 6, 67, 38, 78}};
  const TArray equal{{5, 5, 1, 1, 1, 1, 1, 1, 1, 1}};
  const FrameCase cases[] = {
      {"select", e, 12, {{opSelect, 3, 2}}, "NNHNNNNNNN", "HHNHHHHHHH", 0, 0},
      {"compare, larger",
       e,
       12,
       {{opSelect, 3, 2}, {opCompare, 3, 2}},
       "NRHNNNNNNN",
       "HHRHHHHHHH",
       1,
       0},
      {"compare, smaller",
       e,
       55,
       {{opSelect, 2, 1}, {opCompare, 2, 1}},
       "GHNNNNNNNN",
       "HGHHHHHHHH",
       1,
       0},
      {"compare, equal",
       equal,
       5,
       {{opSelect, 2, 1}, {opCompare, 2, 1}},
       "GHNNNNNNNN",
       "HGHHHHHHHH",
       1,
       0},
      {"move", moved, 12, {{opCompare, 3, 2}, {opMove, 3, 1}}, "NHNNNNNNNN", "HHNHHHHHHH", 1, 1},
      {"move to position 1", moved, 12, {{opMove, 3, 0}}, "HNNNNNNNNN", "HHNHHHHHHH", 0, 1},
  };
  for (const FrameCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    A = c.a;
    X = c.x;
    for (const Step& step : c.steps) {
      GOTOXY(1, 1);
      AnswerComparison(step.op, step.j);
      SHOWSTEP(step.op, step.i, step.j);
    }
    EXPECT_EQ(Row(1, 1, 8), "i = " + std::to_string(c.steps.back().i) + "   ");
    EXPECT_EQ(Masks(2), c.upper);
    EXPECT_EQ(Masks(3), c.lower);
    // The element being inserted is always shown below its own position.
    const int at = c.steps.back().i;
    EXPECT_EQ(std::stoi(Row(3, 4 * (at - 1) + 1, 4)), c.x);
    EXPECT_EQ(CNT_COMP, c.comparisons);
    EXPECT_EQ(CNT_SWAP, c.moves);
    EXPECT_EQ(Cursor(), (console::Coord{1, 4})) << "below the frame";
  }
}

TEST_F(Visualizer, GateAdvancesOnceHoweverManyKeysWereTypedAhead) {
  struct Case {
    const char* name;
    std::vector<console::KeyEvent> typed;
    int waits;  // how often the gate waits for a further key
  } cases[] = {
      {"two Spaces", {kSpace, kSpace}, 0},
      {"x, an arrow, Space", {MakeKey(45, 'x', 0, 'X'), MakeKey(72, 0, 0x100, 38), kSpace}, 1},
      {"an extended key whose code is 32", {MakeKey(32, 0, 0x008, 'D'), kSpace}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    for (const console::KeyEvent& key : c.typed) screen->PushKey(key);
    GETUSERINPUT();
    EXPECT_EQ(screen->waits(), c.waits);
    EXPECT_EQ(screen->queued(), 0u) << "nothing typed ahead is left for the next gate";
  }
}

// Auto-play on a console whose clock the test moves: each wait's time-out is recorded, and a
// script says what happens in it (the clock runs out, or a key comes).
class AutoPlay : public Visualizer {
 protected:
  void SetUp() override {
    Visualizer::SetUp();
    Modes.auto_ms = 1000;
    timeouts.clear();
    script.clear();
    screen->OnWait([](MemoryConsole& console) {
      timeouts.push_back(console.last_timeout());
      if (script.empty()) std::abort();  // a wait the test did not foresee
      const char step = script.front();
      script.erase(0, 1);
      if (step == '.') console.AdvanceClock(600);  // time passes, no key
      if (step == '<') console.PushKey(MakeKey(console::keys::kLeft, 0));
      if (step != '.' && step != '<') console.PushKey(MakeKey(0, static_cast<uint8_t>(step), 0, 0));
    });
  }
  void TearDown() override { Modes = {}; }

  static std::vector<int64_t> timeouts;
  static std::string script;
};
std::vector<int64_t> AutoPlay::timeouts;
std::string AutoPlay::script;

TEST_F(AutoPlay, TheGatePassesAfterTheDelayAndNotBefore) {
  script = "..";
  GETUSERINPUT();
  EXPECT_EQ(timeouts, (std::vector<int64_t>{1000, 400})) << "one timed wait for what is left";
  EXPECT_EQ(screen->NowMs(), 1200u);
}

TEST_F(AutoPlay, SpacePassesAtOnceAndOtherKeysWait) {
  script = "x ";
  GETUSERINPUT();
  EXPECT_EQ(timeouts, (std::vector<int64_t>{1000, 1000}));
  EXPECT_EQ(screen->NowMs(), 0u);
}

TEST_F(AutoPlay, PPausesTheGateUntilPResumesIt) {
  // Paused, the gate waits without a time-out however long it takes; з and З in code page
  // 866, typed by the same key on the Russian layout, pause and resume as P does.
  for (const char* keys : {"p.p..", "P.P..", "\xA7.\x87.."}) {
    SetUp();
    script = keys;
    GETUSERINPUT();
    EXPECT_EQ(timeouts, (std::vector<int64_t>{1000, -1, -1, 1000, 400})) << keys;
  }
}

TEST_F(AutoPlay, GoingBackPausesAndPResumesThroughTheScreensSeen) {
  Modes.back = true;
  console::KeepWindowCopy();
  script = "..";
  GETUSERINPUT();  // a screen seen
  // Left: paused on it; P: on again, forward to the live screen, then past it.
  script = "<p....";
  GETUSERINPUT();
  EXPECT_EQ(timeouts, (std::vector<int64_t>{1000, 400, 1000, -1, 1000, 400, 1000, 400}));
}

TEST_F(AutoPlay, AQuestionWaitsForItsAnswerThenPlaysOn) {
  Modes.quiz = true;
  A = E;  // 12 compared with 55
  X = 12;
  script = "y..";
  AnswerComparison(opCompare, 2);
  SHOWSTEP(opCompare, 3, 2);
  EXPECT_EQ(timeouts, (std::vector<int64_t>{-1, 1000, 400}));
}

// Every step's sentence names its values and fits the 38 columns a frame has for it, with
// the widest numbers an array may hold; so do the question, the answer's 13, practice's
// words and the law's and the scores' 80, in English and in Russian (whose letters take a column
// each in code page 866).
TEST(StepSentences, NameTheValuesWithinTheirField) {
  A = TArray{{-99, 999, 999, 999, 999, 999, 999, 999, 999, 999}};
  X = -99;
  const struct {
    TOperation op;
    int i, j;
    const char* said;
  } steps[] = {
      {opSelect, 1, 0, "take up -99: alone, it is in order"},
      {opSelect, 3, 2, "take up -99 to put it in order"},
      {opCompare, 3, 2, "-99 < 999: 999 moves one place right"},
      {opCompare, 3, 1, "-99 <= -99: -99 goes in after -99"},
      {opMove, 10, 8, "999 moved right; the gap is now at 9"},
      {opMove, 3, 0, "999 moved right; -99 goes to place 1"},
  };
  CNT_COMP = CNT_SWAP = ThisRun().law.inversions = 45;
  ThisRun().law.stops = 0;
  // Ten equal values, the tenth taken up and the gap at its place: the widest order words.
  SHOW_VALUES[1] = TArray{{-99, -99, -99, -99, -99, -99, -99, -99, -99, -99}};
  for (Index k = 1; k <= 10; ++k) {
    SHOW_MASK[1][k] = k == 10 ? mskHidden : mskNormal;
    SHOW_MASK[2][k] = k == 10 ? mskNormal : mskHidden;
  }
  for (const runtime::Language language :
       {runtime::Language::kEnglish, runtime::Language::kRussian}) {
    runtime::SetLanguage(language);
    std::vector<std::pair<std::string, std::size_t>> fields;  // each piece of words, its field
    for (const auto& step : steps) {
      AnswerComparison(step.op, step.j);
      fields.emplace_back(StepSentence(step.op, step.i, step.j), 38);
    }
    fields.emplace_back(Question(2), 38);
    fields.emplace_back(runtime::Tr("answer: right"), 13);
    fields.emplace_back(runtime::Tr("answer: wrong"), 13);
    for (const std::string& line : LawLines()) fields.emplace_back(line, 80);
    for (int kind = 0; kind < kPracticeMistakes; ++kind)
      fields.emplace_back(MistakeSentence(static_cast<PracticeMistake>(kind), 10, 9), 38);
    fields.emplace_back(DoneForYouSentence(), 38);
    ThisRun().practised.mistakes[0] = 1000;
    for (const std::string& line : PracticeScoreLines()) fields.emplace_back(line, 80);
    for (const auto& [words, field] : fields) {
      const std::string shown = console::Utf8ToCp866(words);
      EXPECT_LE(shown.size(), field) << words;
    }
  }
  runtime::SetLanguage(runtime::Language::kEnglish);
  for (const auto& step : steps) {
    AnswerComparison(step.op, step.j);
    EXPECT_EQ(StepSentence(step.op, step.i, step.j), step.said);
  }
  EXPECT_EQ(MistakeSentence(PracticeMistake::kEqualStays, 10, 9),
            "the 9th -99 stays before the 10th");
}

// --screen-reader's line of a step with the widest numbers, in English and in Russian: on two
// rows, broken only at blanks, the cursor after them.
TEST_F(Visualizer, ScreenReaderLinesBreakAtBlanksShortOfTheLastColumn) {
  Modes.lines = true;
  for (const auto language : {runtime::Language::kEnglish, runtime::Language::kRussian}) {
    runtime::SetLanguage(language);
    SetUp();
    A = TArray{{-99, 999, 999, 999, 999, 999, 999, 999, 999, -99}};
    X = -99;
    for (Index k = 1; k <= 10; ++k) SHOW_MASK[1][k] = mskNormal;
    AnswerComparison(opCompare, 9);
    SHOWSTEP(opCompare, 10, 9);
    const std::string first = Row(1), second = Row(2);
    EXPECT_EQ(
        first.substr(0, first.find_last_not_of(' ') + 1) + " " + second.substr(0, Cursor().x - 1),
        console::Utf8ToCp866(ScreenLine(ScreenKind::kCompare, 10, StepSentence(opCompare, 10, 9))));
    EXPECT_EQ(Cursor().y, 2);
    EndLine();  // the next line ends this one
  }
  runtime::SetLanguage(runtime::Language::kEnglish);
  Modes.lines = false;
}

// A practice whose every action is right draws what the demonstration draws, cell by cell
// and colour by colour, with its counts: the menu's arrays, and one with equal and negative
// numbers. The window is 250 rows, so that almost no frame scrolls out of what is compared.
TEST_F(Visualizer, PracticeDoneRightDrawsWhatTheDemonstrationDraws) {
  static std::vector<console::KeyEvent> keys;  // the practice's right actions
  static std::size_t next = 0;
  const auto press = [](const console::NamedKey& named, std::size_t times = 1) {
    keys.insert(keys.end(), times, MakeKey(named, 0));
  };
  for (const TArray& array : {B, C, D, E, TArray{{-5, 3, -5, 0, 3, 12, -99, 0, 999, 3}}}) {
    keys.clear();
    next = 0;
    TArray a = array;  // the cursor to place i, take up, move each larger one, put down
    for (Index i = 1, j = 0; i <= 10; ++i) {
      press(console::keys::kRight, static_cast<std::size_t>(i - j - 1));
      press(console::keys::kDown);
      const int32_t x = a[i];
      for (j = static_cast<Index>(i - 1); j > 0 && a[j] > x; --j) a[j + 1] = a[j];
      press(console::keys::kLeft, static_cast<std::size_t>(i - 1 - j));
      press(console::keys::kDown);
      a[j + 1] = x;
    }
    std::vector<std::string> drawn[2];
    for (const bool practice : {false, true}) {
      Open(80, 250, console::Rect{0, 0, 79, 249}, 0x07);
      if (practice)
        screen->OnWait([](MemoryConsole& console) { console.PushKey(keys[next++]); });
      else
        screen->OnWait([](MemoryConsole& console) { console.PushKey(kSpace); });
      Modes.practice = practice;
      A = array;
      PRINTARRAY();
      practice ? Practise() : INSERT();
      for (int row = 1; row <= 250; ++row) {
        std::string cells = Row(row);
        for (int x = 1; x <= 80; ++x) cells.push_back(static_cast<char>(At(x, row).attribute));
        drawn[practice].push_back(cells);
      }
      drawn[practice].push_back(std::to_string(CNT_COMP) + " " + std::to_string(CNT_SWAP));
    }
    EXPECT_EQ(drawn[0], drawn[1]) << ::testing::PrintToString(array.items);
    EXPECT_EQ(next, keys.size()) << "every action used";
  }
  Modes.practice = false;
}

// The frames count what the cost counts, the law and the page's totals (the run's record)
// included, on the menu's arrays and on every array and seed of the case table.
TEST_F(Visualizer, TheFramesCountWhatTheCostCountsOnEveryArrayOfTheCases) {
  std::vector<std::vector<int32_t>> arrays;
  for (const TArray* set : {&B, &C, &D, &E})
    arrays.emplace_back(set->items.begin(), set->items.end());
  // The table's own reader, and the program's own reading of each command line.
  for (const e2e::PlatformCase& c : e2e::ReadPlatformCases(PLATFORM_CASES)) {
    if (c.program != "insertion-sort-demo") continue;
    const CommandLine line =
        ParseCommandLine(std::vector<std::string_view>(c.args.begin(), c.args.end()), true);
    if (!line.array.empty())
      arrays.push_back(line.array);
    else if (line.random)
      arrays.push_back(RandomArray(line.seed));
  }
  ASSERT_GT(arrays.size(), 6u);
  for (const std::vector<int32_t>& numbers : arrays) {
    SCOPED_TRACE(::testing::PrintToString(numbers));
    SetUp();
    Open(80, 250, console::Rect{0, 0, 79, 249}, 0x07);
    screen->OnWait([](MemoryConsole& console) { console.PushKey(kSpace); });
    const Cost cost = CountCost(numbers);
    SIZE = static_cast<Index>(numbers.size());
    for (Index k = 1; k <= SIZE; ++k) A[k] = numbers[static_cast<std::size_t>(k - 1)];
    StartRun(static_cast<int32_t>(cost.inversions));
    PRINTARRAY();
    INSERT();
    EXPECT_EQ(CNT_COMP, cost.comparisons);
    EXPECT_EQ(CNT_SWAP, cost.moves);
    EXPECT_EQ(ThisRun().law.stops, cost.stops);
  }
  SIZE = 10;
}

// Equal values told apart by their order in the array to sort: in a printout, and in a frame
// whose element, taken up from place 3, came after the 5 at place 1 and before the 3 at 4.
TEST(OrderAmongEquals, IsTheOrderInTheArrayToSort) {
  A = TArray{{5, 3, 5, 3, 7}};
  SIZE = 5;
  EXPECT_EQ((std::vector{OrderAmongEquals(false, 0, 1), OrderAmongEquals(false, 0, 2),
                         OrderAmongEquals(false, 0, 3), OrderAmongEquals(false, 0, 4),
                         OrderAmongEquals(false, 0, 5)}),
            (std::vector{1, 1, 2, 2, 0}));
  SHOW_VALUES[1] = A;
  SHOW_MASK[1] = {};
  for (Index k : {1, 2, 4, 5}) SHOW_MASK[1][k] = mskNormal;  // the gap at place 3
  X = 5;
  EXPECT_EQ((std::vector{OrderAmongEquals(true, 3, 1), OrderAmongEquals(true, 3, 0),
                         OrderAmongEquals(true, 3, 2), OrderAmongEquals(true, 3, 4)}),
            (std::vector{1, 2, 1, 2}));
  SIZE = 10;
}

TEST_F(Visualizer, FramesNearTheBottomMakeRoomFirst) {
  struct Case {
    int height;  // of the window
    int start_row;
    int title_row;  // where "i = 3" lands
    int cursor_row;
  } cases[] = {
      {25, 5, 5, 8},
      {25, 22, 22, 25},
      {25, 23, 21, 24},
      {25, 24, 22, 25},
      {25, 25, 22, 25},
      // Taller windows: down to the bottom without overlap, then as in 25 rows.
      {40, 23, 23, 26},
      {40, 30, 30, 33},
      {40, 37, 37, 40},
      {40, 38, 36, 39},
      {40, 40, 37, 40},
      {20, 20, 17, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.height << " rows, from row " << c.start_row);
    Open(80, c.height, console::Rect{0, 0, 79, static_cast<int16_t>(c.height - 1)}, 0x07);
    screen->OnWait([](MemoryConsole& console) { console.PushKey(kSpace); });
    A = E;
    X = 12;
    GOTOXY(1, static_cast<uint8_t>(c.start_row - 1));
    WriteLn({"before"});
    SHOWSTEP(opSelect, 3, 2);
    EXPECT_EQ(Row(c.title_row, 1, 5), "i = 3");
    EXPECT_EQ(Masks(c.title_row + 1), "NNHNNNNNNN");
    EXPECT_EQ(Cursor().y, c.cursor_row);
    int kept = 0;  // the row written before the frame, wherever scrolling took it
    for (int row = 1; row < c.title_row; ++row)
      if (Row(row, 1, 6) == "before") kept = row;
    EXPECT_GT(kept, 0) << "the frame overwrote the row above it";
  }
}

}  // namespace
}  // namespace visualizer
