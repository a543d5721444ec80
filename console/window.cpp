// The text window: its rectangle, the cursor, the attribute, and the character engine
// that draws codes into cells with wrapping and scrolling.
#include <algorithm>
#include <cstring>

#include "console/console.hpp"
#include "console/window_copy_hooks.hpp"
#include "runtime/runtime.hpp"

namespace console {

// Absolute 1-based coordinates of the window within the console's screen buffer.
uint32_t WINDMINX = 0, WINDMINY = 0, WINDMAXX = 0, WINDMAXY = 0;
// The working cursor, valid during a transfer or a line read.
uint32_t CURRX = 0, CURRY = 0;
uint8_t TEXTATTR = 7;
ScreenInfo CONSOLEINFO;

namespace {

Platform* PLATFORM = nullptr;

// The run-time's orderly exit puts the last drawing on the screen first.
void FlushAtExit() {
  if (PLATFORM != nullptr) PLATFORM->FinalFlush();
}

// BEL, BS, LF and CR: the codes that WRITECHAR does not draw.
constexpr bool Control(uint8_t ch) {
  constexpr uint32_t kControls = 1u << 7 | 1u << 8 | 1u << 10 | 1u << 13;
  return ch <= 13 && (kControls >> ch & 1) != 0;
}

// Below the bottom, the window scrolls until the cursor is on its last row.
void ScrollIntoWindow() {
  while (CURRY > WINDMAXY) {
    REMOVELINE(1);
    --CURRY;
  }
}

// After a character: one in the last column wraps at once (there is no pending-wrap state),
// and below the bottom the window scrolls. The check is all most characters cost.
inline void WrapAndScroll() {
  if (CURRX > WINDMAXX) {
    CURRX = WINDMINX;
    ++CURRY;
  }
  if (CURRY > WINDMAXY) ScrollIntoWindow();
}

// The console counts from 0 and takes signed 16-bit coordinates.
Coord ToConsole(uint32_t x, uint32_t y) {
  return Coord{static_cast<int16_t>(x - 1), static_cast<int16_t>(y - 1)};
}

// The two ways the layer changes the console's cells, each on the console and in the copy
// kept for --back alike: COUNT codes drawn from WHERE, and a rectangle moved. Every
// character written passes DrawCells: inlined, it costs its callers nothing more.
[[gnu::always_inline]] inline void DrawCells(Coord where, const uint8_t* codes, int count,
                                             uint16_t attribute) {
  PLATFORM->WriteCells(where, codes, count, attribute);
  if (WindowCopyKept) CopyCells(where, codes, count, attribute);
}
void MoveCells(Rect source, Rect clip, Coord dest, uint16_t fill_attribute) {
  PLATFORM->ScrollRect(source, clip, dest, ' ', fill_attribute);
  if (WindowCopyKept) CopyScroll(source, clip, dest, fill_attribute);
}

}  // namespace

Platform& CurrentPlatform() {
  return *PLATFORM;
}

void Init(Platform& platform) {
  PLATFORM = &platform;
  runtime::SetFlushHandler(FlushAtExit);
  CONSOLEINFO = ScreenInfo{};
  PLATFORM->GetScreenInfo(CONSOLEINFO);
  TEXTATTR = static_cast<uint8_t>(CONSOLEINFO.attribute & 0xFF);
  WINDMINX = static_cast<uint32_t>(CONSOLEINFO.window.left + 1);
  WINDMINY = static_cast<uint32_t>(CONSOLEINFO.window.top + 1);
  WINDMAXX = static_cast<uint32_t>(CONSOLEINFO.window.right + 1);
  WINDMAXY = static_cast<uint32_t>(CONSOLEINFO.window.bottom + 1);
  ClearKeyboardState();

  ASSIGNCRT(OUTPUT);
  OpenText(OUTPUT, fmOutput);
  IOCHECK();
  OUTPUT.handle = 1;
  ASSIGNCRT(INPUT);
  OpenText(INPUT, fmInput);
  IOCHECK();
  INPUT.handle = 0;
}

void GETSCREENCURSOR(uint32_t& x, uint32_t& y) {
  const Coord cursor = PLATFORM->Cursor();
  x = static_cast<uint32_t>(cursor.x + 1);
  y = static_cast<uint32_t>(cursor.y + 1);
}

void SETSCREENCURSOR(uint32_t x, uint32_t y) {
  PLATFORM->SetCursor(ToConsole(x, y));
}

void REMOVELINE(uint32_t y) {
  const uint32_t row = WINDMINY + y - 1;
  const Coord first = ToConsole(WINDMINX, row);
  const Coord last = ToConsole(WINDMAXX, WINDMAXY);
  const Rect source{first.x, static_cast<int16_t>(first.y + 1), last.x, last.y};
  const Rect clip{first.x, first.y, last.x, last.y};
  MoveCells(source, clip, first, TEXTATTR);
}

void WRITECHAR(uint8_t ch) {
  switch (ch) {
    case 7:  // BEL: silent
      break;
    case 8:  // BS moves back without erasing, never past the left edge
      if (CURRX > WINDMINX) --CURRX;
      break;
    case 10:  // LF keeps the column
      ++CURRY;
      break;
    case 13: CURRX = WINDMINX; break;
    default:
      DrawCells(ToConsole(CURRX, CURRY), &ch, 1, TEXTATTR);
      ++CURRX;
      break;
  }
  WrapAndScroll();
}

void WRITECHARS(const uint8_t* bytes, int32_t count) {
  for (int32_t i = 0; i < count;) {
    // A run of printable codes within the row goes out as one, as WRITECHAR would draw it.
    const uint8_t* const from = bytes + i;
    const uint8_t* const stop =
        bytes + std::min(count, i + static_cast<int32_t>(WINDMAXX - CURRX + 1));
    const uint8_t* past = from;
    while (past < stop && !Control(*past)) ++past;
    const auto run = static_cast<int32_t>(past - from);
    if (run == 0) {
      WRITECHAR(bytes[i++]);
      continue;
    }
    DrawCells(ToConsole(CURRX, CURRY), bytes + i, run, TEXTATTR);
    i += run;
    CURRX += static_cast<uint32_t>(run);
    WrapAndScroll();
  }
}

void GOTOXY32(uint32_t x, uint32_t y) {
  if (x == 0 || x > WINDMAXX - WINDMINX + 1) return;
  if (y == 0 || y > WINDMAXY - WINDMINY + 1) return;
  SETSCREENCURSOR(WINDMINX + x - 1, WINDMINY + y - 1);
}

void GOTOXY(uint8_t x, uint8_t y) {
  GOTOXY32(x, y);
}

uint32_t WHEREY32() {
  uint32_t x = 0;
  uint32_t y = 0;
  GETSCREENCURSOR(x, y);
  return y - WINDMINY + 1;
}

uint8_t WHEREY() {
  return static_cast<uint8_t>(WHEREY32());
}

void TEXTCOLOR(uint8_t color) {
  TEXTATTR = static_cast<uint8_t>((TEXTATTR & 0x70) | (color & 0x8F));
}

}  // namespace console
