// The console operations that the layer's logic needs, and nothing more. The terminal
// implementation speaks termios and escape sequences; the in-memory one backs the tests.
// All coordinates are 0-based cells of the console's screen buffer.
#pragma once

#include <cstdint>
#include <string_view>

namespace console {

struct Coord {
  int16_t x = 0;
  int16_t y = 0;
  friend bool operator==(Coord, Coord) = default;
};

// Inclusive rectangle.
struct Rect {
  int16_t left = 0;
  int16_t top = 0;
  int16_t right = 0;
  int16_t bottom = 0;
  friend bool operator==(Rect, Rect) = default;
};

struct ScreenInfo {
  Coord size;              // the whole screen buffer
  Coord cursor;            // where the console's cursor stands
  uint16_t attribute = 0;  // the console's current text attribute
  Rect window;             // the visible part of the buffer
};

struct KeyEvent {
  bool key_down = true;  // a press or an auto-repeat; false for a release
  uint16_t virtual_key = 0;
  uint16_t scan_code = 0;      // PC scan code set 1, without the extension prefix
  uint8_t character = 0;       // code page 866; 0 when the key produces none
  uint32_t control_state = 0;  // the flags of pc_keyboard.hpp
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

enum class EventKind : uint8_t { kKey = 1, kOther = 2 };

struct InputEvent {
  EventKind kind = EventKind::kKey;
  KeyEvent key;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Fills INFO; leaves it as it is (the caller has zeroed it) when there is no console.
  virtual void GetScreenInfo(ScreenInfo& info) = 0;
  virtual void SetCursor(Coord where) = 0;
  // Where the console's cursor stands: GetScreenInfo's cursor, which a console may know
  // more cheaply than the rest.
  virtual Coord Cursor() {
    ScreenInfo info{};
    GetScreenInfo(info);
    return info.cursor;
  }
  // Puts one character code with its attribute into one cell; the cursor does not move.
  virtual void WriteCell(Coord where, uint8_t character, uint16_t attribute) = 0;
  // The same for COUNT codes in the cells from WHERE to its right, all in the row.
  virtual void WriteCells(Coord where, const uint8_t* characters, int count, uint16_t attribute) {
    for (int i = 0; i < count; ++i)
      WriteCell(Coord{static_cast<int16_t>(where.x + i), where.y}, characters[i], attribute);
  }
  // Moves the cells of SOURCE so that its top-left lands on DEST; only cells inside CLIP
  // change; the cells SOURCE leaves behind are filled with FILL_CHAR in FILL_ATTRIBUTE.
  virtual void ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                          uint16_t fill_attribute) = 0;

  // Number of input events waiting; never waits.
  virtual uint32_t PendingInputEvents() = 0;
  // Removes the oldest waiting event. Called only when one is waiting.
  virtual InputEvent ReadInputEvent() = 0;
  // The pause between two polls of the keyboard. Returns at the latest when input
  // arrives; may return early.
  virtual void WaitForInput() = 0;
  // The same, returning after TIMEOUT_MS at the latest: one timed wait, no polling.
  virtual void WaitForInputAtMost(uint32_t timeout_ms) = 0;
  // Milliseconds on the console's clock, which only goes forward.
  virtual uint64_t NowMs() = 0;
  // True when no further input can ever arrive (and none is waiting).
  virtual bool InputEnded() = 0;

  // Puts everything drawn on the screen, with the console's own colours set again: the last
  // output of a run, on every way out.
  virtual void FinalFlush() = 0;
};

}  // namespace console
