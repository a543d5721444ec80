// The start-up wait's decisions, taken from the terminal's replies in the order they come.
#include "console/posix/startup_replies.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace console::posix {
namespace {

using stream::Decoded;

Decoded Reply(Decoded::Kind kind, int row = 0, int column = 0) {
  Decoded reply;
  reply.kind = kind;
  reply.row = row;
  reply.column = column;
  return reply;
}

const Decoded kFlags = Reply(Decoded::Kind::kKeyboardFlags);
const Decoded kAttributes = Reply(Decoded::Kind::kDeviceAttributes);

TEST(StartupReplies, KeyboardProtocolOnlyWhenItsFlagsComeAheadOfTheAttributes) {
  struct Case {
    std::vector<Decoded> replies;
    bool complete;
    bool keyboard_protocol;
  } cases[] = {
      {{Reply(Decoded::Kind::kCursorReport, 3, 7), kFlags, kAttributes}, true, true},
      {{Reply(Decoded::Kind::kCursorReport, 3, 7), kAttributes, kFlags}, true, false},
      {{kFlags, kAttributes}, false, true},  // the cursor is still to come
      {{Reply(Decoded::Kind::kCursorReport, 3, 7)}, false, false},
  };
  for (const Case& c : cases) {
    StartupReplies replies;
    replies.cursor_expected = replies.attributes_expected = true;
    for (const Decoded& reply : c.replies) replies.Take(reply, 80, 25);
    EXPECT_EQ(replies.Complete(), c.complete);
    EXPECT_EQ(replies.keyboard_protocol, c.keyboard_protocol);
  }
}

TEST(StartupReplies, CursorReportIsClampedToTheScreenAndTakenOnlyWhileExpected) {
  StartupReplies replies;
  replies.cursor_expected = true;
  replies.Take(Reply(Decoded::Kind::kCursorReport, 99, 0), 80, 25);
  EXPECT_TRUE(replies.cursor_reported);
  EXPECT_EQ(replies.cursor, (Coord{0, 24}));
  replies.Take(Reply(Decoded::Kind::kCursorReport, 2, 2), 80, 25);
  EXPECT_EQ(replies.cursor, (Coord{0, 24})) << "a second report is stale";

  StartupReplies late;
  late.StopWaiting();
  late.Take(Reply(Decoded::Kind::kCursorReport, 2, 2), 80, 25);
  late.Take(kFlags, 80, 25);
  EXPECT_FALSE(late.cursor_reported);
  EXPECT_FALSE(late.keyboard_protocol);
}

TEST(StartupReplies, KeypadKeysWithNumLockOffBySS3OnRxvtMltermAndSt) {
  for (const char* term : {"rxvt-unicode-256color", "rxvt", "mlterm", "st-256color", "stterm"})
    EXPECT_TRUE(KeypadMovesInApplicationMode(term)) << term;
  for (const char* term : {"xterm-256color", "screen", "", "strange", "tmux-256color"})
    EXPECT_FALSE(KeypadMovesInApplicationMode(term)) << term;
}

}  // namespace
}  // namespace console::posix
