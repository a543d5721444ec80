// What the screen at a gate shows, as data, for those who cannot see the terminal: a page
// draws it as a table beside the terminal and says it. Built from the state the frame was
// drawn from (the picture grids, or the array for a printout), so that it shows exactly
// what the frame shows: a held-back outcome stays held back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "visualizer/screen_kinds.hpp"

namespace visualizer {

// The screen of KIND as one JSON object; I is the place of the element being inserted, or
// just inserted on a printout (0 on the other screens). Its members:
//   kind, line, awaits  the kind's name, the line of the code it carries out and what the
//                    program waits for there (screen_kinds.hpp)
//   sentence, where  the step in SENTENCE, and WHERE the run stands
//   i                I, on frames and printouts
//   places           the row of the array: [value, role] for each place, value null in the
//                    gap; role "plain", "larger" (compared, moves right), "notlarger"
//                    (compared, the element goes after it) or "gap"
//   element          on a frame, the element being inserted: its place, value and outcome
//                    (a role as above, or null while none is shown)
//   comparisons, moves  the counts so far
//   on the totals    array (what it is called), n, inversions (pairs out of order before
//                    the sort), stops (comparisons that stopped an element), bounds (for n
//                    from 1 to 10, [least, most] that a sort of n can cost), and under
//                    --quiz asked and right (the predictions)
//   paused           under auto-play, told again when P pauses (true) or plays on (false)
std::string DescribeScreen(ScreenKind kind, int32_t i, std::string_view sentence,
                           std::string_view where);

}  // namespace visualizer
