// The replies to the queries the console sends a terminal at start: where the cursor is,
// and whether the kitty keyboard protocol is spoken (its flags query, answered only by
// terminals that know it, is followed by the device attributes query that every terminal
// answers), all awaited in one wait.
#pragma once

#include <optional>
#include <string_view>

#include "console/platform.hpp"
#include "console/stream/key_decoder.hpp"

namespace console::posix {

struct StartupReplies {
  bool cursor_expected = false;      // the cursor query is out, unanswered
  bool attributes_expected = false;  // the device attributes query is out, unanswered
  bool cursor_reported = false;
  bool keyboard_protocol = false;  // the flags came ahead of the device attributes
  Coord cursor;                    // where the report put the cursor, inside the screen

  // Takes a reply of the terminal on a WIDTH x HEIGHT screen; keys pass unseen.
  void Take(const stream::Decoded& reply, int width, int height);
  // Every query is answered.
  bool Complete() const { return !cursor_expected && !attributes_expected; }
  // The wait is over: answers that come later are stale, the program has drawn since.
  void StopWaiting() { cursor_expected = attributes_expected = false; }
};

// The keypad is in application mode for the run, so that keypad Enter and slash arrive apart
// from Enter and slash. rxvt, mlterm and st then send SS3 p..y n for keys with Num Lock off
// (st for its arrows), where xterm sends them for the digits: true for a terminal of type
// TERM that does so.
bool KeypadMovesInApplicationMode(std::string_view term);

}  // namespace console::posix
