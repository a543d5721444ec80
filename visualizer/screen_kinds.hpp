// The kinds of screen the program waits at, in one table that the program and the page both
// read: the page gets each screen's row of it with the screen's description
// (screen_description.hpp), so that it never lists the kinds itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace visualizer {

enum class ScreenKind : uint8_t {
  kMenu,      // the menu, waiting for a choice
  kStart,     // the printout of the array to sort
  kSelect,    // a frame: the element taken up
  kCompare,   // a frame: a comparison and its outcome
  kQuestion,  // a frame: a comparison whose outcome --quiz asks first
  kMove,      // a frame: a move one place right
  kPrintout,  // the printout after an element went in
  kTotals,    // the totals, waiting for the final line
  kTake,      // practice: the learner is to take up the next element
  kHold,      // practice: the learner holds an element, to move another or put it down
};

struct ScreenKindRow {
  const char* name;
  // The line of the insertion sort's code (the page's listing, from 1) that the screen
  // carries out; 0 for none.
  int code_line;
  // What the program waits for there: "choice" (a menu key), "step" (Space, or the time of
  // auto-play), "answer" (Y or N), "line" (a line ended with Enter) or "action" (a practice's
  // keys).
  const char* awaits;
  bool frame;  // a three-row frame of the step display
};

inline constexpr ScreenKindRow kScreenKinds[] = {
    {"menu", 0, "choice", false},   {"start", 1, "step", false},     {"select", 3, "step", true},
    {"compare", 4, "step", true},   {"question", 4, "answer", true}, {"move", 5, "step", true},
    {"printout", 6, "step", false}, {"totals", 7, "line", false},    {"take", 3, "action", false},
    {"hold", 4, "action", true},
};

static_assert(std::size(kScreenKinds) == static_cast<std::size_t>(ScreenKind::kHold) + 1,
              "a row for each kind of screen, in the enum's order");

constexpr const ScreenKindRow& RowOf(ScreenKind kind) {
  return kScreenKinds[static_cast<uint8_t>(kind)];
}

}  // namespace visualizer
