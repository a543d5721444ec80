// The echoed line editor behind INPUT: the final line read of a run, with caret movement,
// erasing, and the end of input taken as Enter.
#include "console/console.hpp"

namespace console {

namespace {

// Erases the last character, but only with the caret at the end of the text.
void BACKSPACE(TEXTREC& file) {
  if (file.bufpos <= 0 || file.bufpos != file.bufend) return;
  WRITECHAR(8);
  WRITECHAR(32);
  WRITECHAR(8);
  --file.bufpos;
  --file.bufend;
}

void CaretRight(TEXTREC& file) {
  WRITECHAR(file.buffer[file.bufpos]);
  ++file.bufpos;
}

void TypeCharacter(TEXTREC& file, uint8_t ch) {
  if (file.bufpos >= file.bufsize - 2) return;
  file.buffer[file.bufpos++] = ch;
  WRITECHAR(ch);
}

// Acts on an extended key; true when it ends the line.
bool EditExtended(TEXTREC& file, uint8_t code) {
  switch (code) {
    case scan::kEnter:  // keypad Enter
      return true;
    case scan::kSlash:  // keypad slash
      TypeCharacter(file, '/');
      break;
    case scan::kHome:
      while (file.bufpos > 0) {
        --file.bufpos;
        WRITECHAR(8);
      }
      break;
    case scan::kLeft:
      if (file.bufpos > 0) {
        --file.bufpos;
        WRITECHAR(8);
      }
      break;
    case scan::kRight:
      if (file.bufpos < file.bufend) CaretRight(file);
      break;
    case scan::kEnd:
      while (file.bufpos < file.bufend) CaretRight(file);
      break;
    default: break;
  }
  return false;
}

// After a stop the terminal may show anything, its cursor anywhere: the line goes on from
// where the cursor now stands, the text typed so far shown again.
void GoOnFromTheCursor(TEXTREC& file) {
  uint32_t x = 0;
  uint32_t y = 0;
  GETSCREENCURSOR(x, y);
  if (x == CURRX && y == CURRY) return;
  CURRX = x;
  CURRY = y;
  for (int32_t i = 0; i < file.bufend; ++i) WRITECHAR(file.buffer[i]);
  for (int32_t i = file.bufpos; i < file.bufend; ++i) WRITECHAR(8);
  SETSCREENCURSOR(CURRX, CURRY);
}

// Waits for a key; false when input ends first.
bool WaitForKeyOrEnd(TEXTREC& file) {
  for (;;) {
    const bool pressed = KEYPRESSED();  // notices a stop and a resume too
    GoOnFromTheCursor(file);
    if (pressed) return true;
    if (KeysEnded()) return false;
    CurrentPlatform().WaitForInput();
  }
}

}  // namespace

int16_t CRTREAD(TEXTREC& file) {
  GETSCREENCURSOR(CURRX, CURRY);
  file.bufpos = 0;
  file.bufend = 0;
  for (;;) {
    if (file.bufpos > file.bufend) file.bufend = file.bufpos;
    SETSCREENCURSOR(CURRX, CURRY);
    // Standard input that ends ends the line as Enter would.
    if (!WaitForKeyOrEnd(file)) break;
    const uint8_t key = READKEY();
    if (key == 0) {
      if (EditExtended(file, READKEY())) break;
      continue;
    }
    if (key == 13) break;
    switch (key) {
      case 8:   // Backspace
      case 19:  // Ctrl+S
        BACKSPACE(file);
        break;
      case 27:  // Esc
      case 25:  // Ctrl+Y: erase the whole line
        while (file.bufpos < file.bufend) CaretRight(file);
        while (file.bufend > 0) BACKSPACE(file);
        break;
      case 26:  // Ctrl+Z
        break;
      default: TypeCharacter(file, key); break;
    }
  }
  WRITECHAR(13);
  WRITECHAR(10);
  file.buffer[file.bufend] = 13;
  file.buffer[file.bufend + 1] = 10;
  file.bufend += 2;
  file.bufpos = 0;
  SETSCREENCURSOR(CURRX, CURRY);
  return 0;
}

int16_t CRTRETURN(TEXTREC& /*file*/) {
  return 0;
}

}  // namespace console
