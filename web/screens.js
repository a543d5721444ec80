// The names of the program's screens and of what it waits for at each, as its description of
// a screen gives them (visualizer/screen_kinds.hpp): the page spells them here alone.

export const KIND = Object.freeze({
  compare: "compare",
  move: "move",
  take: "take",
  totals: "totals",
});

export const AWAITS = Object.freeze({
  choice: "choice",
  answer: "answer",
  line: "line",
  action: "action",
});
