// The console layer: a text window with cursor and attribute, character output with
// wrapping and scrolling through the standard text file OUTPUT, single-key input with
// extended keys, and the echoed line editor behind INPUT.
#pragma once

#include <cstdint>
#include <string_view>

#include "console/pc_keyboard.hpp"

namespace console {

// ---- Text files -------------------------------------------------------------------------

enum FileMode : int32_t { fmClosed = 0, fmInput = 1, fmOutput = 2 };

struct TEXTREC;
using TextProc = int16_t (*)(TEXTREC& file);

constexpr int32_t TEXTRECBUFSIZE = 256;
constexpr intptr_t NOHANDLE = -1;

struct TEXTREC {
  intptr_t handle = NOHANDLE;
  int32_t mode = fmClosed;
  int32_t bufsize = 0;
  int32_t bufpos = 0;  // fill position
  int32_t bufend = 0;  // data end (input only)
  TextProc openfunc = nullptr;
  TextProc inoutfunc = nullptr;  // transfer
  TextProc flushfunc = nullptr;
  TextProc closefunc = nullptr;
  uint8_t lineend_length = 0;
  uint8_t lineend[3] = {};
  uint8_t buffer[TEXTRECBUFSIZE] = {};
};

// The pending I/O result of the text-file operations; 0 when there is none.
extern uint16_t INOUTRES;
extern TEXTREC OUTPUT;
extern TEXTREC INPUT;

void ASSIGNCRT(TEXTREC& file);
void OpenText(TEXTREC& file, FileMode mode);
void CloseText(TEXTREC& file);
int16_t CRTOPEN(TEXTREC& file);
int16_t CRTWRITE(TEXTREC& file);
int16_t CRTCLOSE(TEXTREC& file);
int16_t CRTREAD(TEXTREC& file);
int16_t CRTRETURN(TEXTREC& file);

// Steps of a write statement; each is followed by IOCHECK.
[[noreturn]] void IOCHECKFAILED();
void WRITE_TEXT_ANSISTR(int32_t width, TEXTREC& file, std::string_view text);
void WRITE_TEXT_SINT(int32_t width, TEXTREC& file, int32_t value);
void WRITE_END(TEXTREC& file);
void WRITELN_END(TEXTREC& file);
void READLN_END(TEXTREC& file);
// Raises the pending I/O result, if there is one, as a run-time error.
inline void IOCHECK() {
  if (INOUTRES != 0) IOCHECKFAILED();
}
void WRITEBLANKS(TEXTREC& file, int32_t count);
void WRITEBUFFER(TEXTREC& file, const uint8_t* bytes, int32_t count);

// ---- Window and output ------------------------------------------------------------------

extern uint32_t WINDMINX, WINDMINY, WINDMAXX, WINDMAXY;
extern uint32_t CURRX, CURRY;
extern uint8_t TEXTATTR;
extern ScreenInfo CONSOLEINFO;

// Takes over the console behind PLATFORM: window, attribute, keyboard state, and binds
// OUTPUT and INPUT to it. The platform must outlive every later call.
void Init(Platform& platform);
Platform& CurrentPlatform();

void GOTOXY(uint8_t x, uint8_t y);
void GOTOXY32(uint32_t x, uint32_t y);
uint8_t WHEREY();
uint32_t WHEREY32();
void TEXTCOLOR(uint8_t color);

void GETSCREENCURSOR(uint32_t& x, uint32_t& y);
void SETSCREENCURSOR(uint32_t x, uint32_t y);
void WRITECHAR(uint8_t ch);
// WRITECHAR for each of COUNT BYTES, a row's run of printable ones at a time.
void WRITECHARS(const uint8_t* bytes, int32_t count);
void REMOVELINE(uint32_t y);

// ---- Keyboard ---------------------------------------------------------------------------

extern uint8_t SCANCODE;
extern bool SPECIALKEY;
extern bool DOINGNUMCHARS;
extern uint8_t DOINGNUMCODE;

bool KEYPRESSED();
uint8_t READKEY();
// Waits at most TIMEOUT_MS for a key, in one timed wait of the console (no polling); true
// when one is waiting, or when the input has ended (READKEY then ends the program).
bool WaitForKeyWithin(uint32_t timeout_ms);
uint8_t REMAPSCANCODE(uint8_t scan_code, uint8_t control_state, int32_t virtual_key);
void ClearKeyboardState();

// True when no key is waiting and none can ever arrive (standard input has ended).
bool KeysEnded();

// What READKEY does when it would wait for a key that can never come. The procedure
// must not return (it ends the program); without one the program ends with status 0.
using EndOfInputHandler = void (*)();
void SetEndOfInputHandler(EndOfInputHandler proc);

}  // namespace console
