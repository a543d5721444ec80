// The console text files: the record behind OUTPUT and INPUT, opening and closing, and
// the steps of a write statement that decide which bytes reach the window and when.
#include <algorithm>
#include <cstring>

#include "console/console.hpp"
#include "runtime/runtime.hpp"

namespace console {

uint16_t INOUTRES = 0;
TEXTREC OUTPUT;
TEXTREC INPUT;

namespace {

constexpr uint16_t kFileNotOpenForInput = 104;
constexpr uint16_t kFileNotOpenForOutput = 105;
constexpr uint16_t kFileNotOpen = 103;

void CallTransfer(TEXTREC& file) {
  if (file.inoutfunc != nullptr) file.inoutfunc(file);
}

// Both write paths share this: a piece that does not fit hands the buffer on first.
template <typename CopyFn>
void PutPieces(TEXTREC& file, int32_t count, CopyFn copy) {
  int32_t room = file.bufsize - file.bufpos;
  while (count > room) {
    copy(file.buffer + file.bufpos, room);
    file.bufpos += room;
    count -= room;
    CallTransfer(file);
    room = file.bufsize - file.bufpos;
  }
  copy(file.buffer + file.bufpos, count);
  file.bufpos += count;
}

// Sets INOUTRES and returns false unless FILE is open for output.
bool CheckOutput(const TEXTREC& file) {
  if (file.mode == fmOutput) return true;
  INOUTRES = file.mode == fmInput ? kFileNotOpenForOutput : kFileNotOpen;
  return false;
}

}  // namespace

void ASSIGNCRT(TEXTREC& file) {
  file = TEXTREC{};
  file.handle = NOHANDLE;
  file.mode = fmClosed;
  file.bufsize = TEXTRECBUFSIZE;
  file.lineend_length = 2;
  file.lineend[0] = 13;
  file.lineend[1] = 10;
  file.openfunc = CRTOPEN;
}

void OpenText(TEXTREC& file, FileMode mode) {
  if (file.mode != fmClosed) CloseText(file);
  file.mode = mode;
  file.bufpos = 0;
  file.bufend = 0;
  if (file.openfunc != nullptr) file.openfunc(file);
  if (INOUTRES != 0) file.mode = fmClosed;
}

void CloseText(TEXTREC& file) {
  if (file.mode == fmOutput) CallTransfer(file);
  const bool standard = file.handle >= 0 && file.handle <= 2;
  if (!standard && file.closefunc != nullptr) file.closefunc(file);
  file.mode = fmClosed;
  file.bufpos = 0;
}

int16_t CRTOPEN(TEXTREC& file) {
  if (file.mode == fmOutput) {
    file.inoutfunc = CRTWRITE;
    file.flushfunc = CRTWRITE;
  } else {
    file.mode = fmInput;
    file.inoutfunc = CRTREAD;
    file.flushfunc = CRTRETURN;
  }
  file.closefunc = CRTCLOSE;
  return 0;
}

int16_t CRTCLOSE(TEXTREC& file) {
  file.mode = fmClosed;
  return 0;
}

int16_t CRTWRITE(TEXTREC& file) {
  GETSCREENCURSOR(CURRX, CURRY);
  WRITECHARS(file.buffer, file.bufpos);
  SETSCREENCURSOR(CURRX, CURRY);
  file.bufpos = 0;
  return 0;
}

void WRITEBLANKS(TEXTREC& file, int32_t count) {
  PutPieces(file, count, [](uint8_t* to, int32_t n) { std::memset(to, ' ', n); });
}

void WRITEBUFFER(TEXTREC& file, const uint8_t* bytes, int32_t count) {
  PutPieces(file, count, [&bytes](uint8_t* to, int32_t n) {
    std::memcpy(to, bytes, static_cast<std::size_t>(n));
    bytes += n;
  });
}

void WRITE_TEXT_ANSISTR(int32_t width, TEXTREC& file, std::string_view text) {
  if (INOUTRES != 0) return;
  if (!CheckOutput(file)) return;
  const auto length = static_cast<int32_t>(text.size());
  if (width > length) WRITEBLANKS(file, width - length);
  if (length > 0) WRITEBUFFER(file, reinterpret_cast<const uint8_t*>(text.data()), length);
}

void WRITE_TEXT_SINT(int32_t width, TEXTREC& file, int32_t value) {
  if (INOUTRES != 0) return;
  // Work on the magnitude as unsigned so that the most negative value has one.
  const uint32_t magnitude =
      value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  int32_t length = value < 0 ? 2 : 1;
  for (uint32_t rest = magnitude; rest >= 10; rest /= 10) ++length;
  // The number at the end of the SIZE bytes at FIELD, written from its last digit back.
  auto put = [&](uint8_t* field, int32_t size) {
    uint8_t* p = field + size;
    uint32_t rest = magnitude;
    do {
      *--p = static_cast<uint8_t>('0' + rest % 10);
      rest /= 10;
    } while (rest != 0);
    if (value < 0) *--p = '-';
  };
  // A field that fits goes straight into the buffer, blanks first: a narrow one's in a
  // single store of eight where the buffer has room past it.
  const int32_t size = std::max(width, length);
  const int32_t room = file.bufsize - file.bufpos;
  if (file.mode == fmOutput && size <= room) {
    uint8_t* const field = file.buffer + file.bufpos;
    constexpr int32_t kNarrow = 8;
    if (size <= kNarrow && room >= kNarrow)
      std::memcpy(field, "        ", kNarrow);
    else
      std::memset(field, ' ', static_cast<std::size_t>(size - length));
    put(field, size);
    file.bufpos += size;
    return;
  }
  uint8_t digits[12];
  put(digits, length);
  WRITE_TEXT_ANSISTR(
      width, file,
      std::string_view(reinterpret_cast<const char*>(digits), static_cast<std::size_t>(length)));
}

void WRITE_END(TEXTREC& file) {
  if (file.flushfunc != nullptr) file.flushfunc(file);
}

void WRITELN_END(TEXTREC& file) {
  if (INOUTRES != 0) return;
  if (!CheckOutput(file)) return;
  WRITEBUFFER(file, file.lineend, file.lineend_length);
  if (file.flushfunc != nullptr) file.flushfunc(file);
}

void READLN_END(TEXTREC& file) {
  if (INOUTRES != 0) return;
  if (file.mode != fmInput) {
    INOUTRES = file.mode == fmOutput ? kFileNotOpenForInput : kFileNotOpen;
    return;
  }
  // Refills when the buffer is used up; false when it stays empty.
  auto refill = [&file]() {
    if (file.bufpos < file.bufend) return true;
    CallTransfer(file);
    if (file.bufpos < file.bufend) return true;
    if (file.flushfunc != nullptr) file.flushfunc(file);
    return false;
  };
  if (!refill()) return;
  for (;;) {
    const uint8_t byte = file.buffer[file.bufpos++];
    if (byte == 10) return;
    if (!refill()) return;
    if (byte == 13) {
      if (file.buffer[file.bufpos] == 10) ++file.bufpos;
      return;
    }
  }
}

void IOCHECKFAILED() {
  const int code = INOUTRES;
  INOUTRES = 0;
  runtime::RunError(code, RUNTIME_RETURN_ADDRESS());
}

}  // namespace console
