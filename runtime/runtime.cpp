#include "runtime/runtime.hpp"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>

#include "runtime/internal.hpp"
#include "runtime/platform.hpp"

#if defined(__SANITIZE_ADDRESS__)
#define LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LEAK_CHECKED 1
#endif
#endif
#if LEAK_CHECKED
#include <sanitizer/lsan_interface.h>
#endif

namespace runtime {
namespace {

struct Mode {
  ModeStep undo;
  ModeStep redo;
};

constexpr int kMaxModes = 16;
Mode MODES[kMaxModes];
std::atomic<int> MODE_COUNT{0};
FlushHandler FLUSH_HANDLER = nullptr;
char EXIT_NOTE[160];
std::size_t EXIT_NOTE_SIZE = 0;
char PROGRAM_NAME[40] = "program";
std::size_t PROGRAM_NAME_SIZE = 7;
// The stream whose colours differ from its defaults, while they do.
int COLOURS_FD = 1;
volatile sig_atomic_t COLOURS_CHANGED = 0;

// An address in upper-case hexadecimal, as many digits as the platform's addresses have.
char* PutAddress(char* p, std::uintptr_t value) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (int shift = 8 * sizeof value - 4; shift >= 0; shift -= 4)
    *p++ = kDigits[(value >> shift) & 15];
  return p;
}

char* PutText(char* p, const char* text) {
  while (*text != 0) *p++ = *text++;
  return p;
}

// _Exit skips the sanitizer's leak check at exit, so a sanitizer build runs it here, on
// the orderly way out; a leak then ends the run with the sanitizer's report and status.
void CheckLeaks() {
#if LEAK_CHECKED
  __lsan_do_leak_check();
#endif
}

}  // namespace

void RegisterMode(ModeStep undo, ModeStep redo) {
  const int n = MODE_COUNT.load();
  if (n >= kMaxModes) return;
  MODES[n] = Mode{undo, redo};
  MODE_COUNT.store(n + 1);
}

namespace {

void ResetColours() {
  // The restore must not wait for an output that has stopped reading.
  constexpr int kResetWriteBudgetMs = 20;
  if (COLOURS_CHANGED == 0) return;
  WriteWithin(COLOURS_FD, "\x1b[m", kResetWriteBudgetMs);
  COLOURS_CHANGED = 0;
}

}  // namespace

void ColoursChanged(int fd, bool changed) {
  static bool registered = false;
  COLOURS_FD = fd;
  if (changed && !registered) {
    registered = true;
    RegisterMode(ResetColours);
  }
  COLOURS_CHANGED = changed ? 1 : 0;
}

void RestoreModes() {
  // Take each mode off the list before undoing it, so that a signal arriving meanwhile
  // does not undo anything twice.
  for (int n = MODE_COUNT.load(); n > 0; n = MODE_COUNT.load()) {
    const Mode mode = MODES[n - 1];
    MODE_COUNT.store(n - 1);
    if (mode.undo != nullptr) mode.undo();
  }
}

void SuspendModes() {
  for (int i = MODE_COUNT.load() - 1; i >= 0; --i)
    if (MODES[i].undo != nullptr) MODES[i].undo();
}

void ResumeModes() {
  const int n = MODE_COUNT.load();
  for (int i = 0; i < n; ++i)
    if (MODES[i].redo != nullptr) MODES[i].redo();
}

void SetFlushHandler(FlushHandler proc) {
  FLUSH_HANDLER = proc;
}

void SetProgramName(std::string_view name) {
  PROGRAM_NAME_SIZE = std::min(name.size(), sizeof PROGRAM_NAME);
  name.copy(PROGRAM_NAME, PROGRAM_NAME_SIZE);
}

std::string_view ProgramName() {
  return {PROGRAM_NAME, PROGRAM_NAME_SIZE};
}

void SetExitNote(std::string_view note) {
  EXIT_NOTE_SIZE = std::min(note.size(), sizeof EXIT_NOTE);
  note.copy(EXIT_NOTE, EXIT_NOTE_SIZE);
}

void Halt(int status) {
  if (FLUSH_HANDLER != nullptr) FLUSH_HANDLER();
  RestoreModes();
  if (EXIT_NOTE_SIZE > 0) WriteAll(2, std::string_view(EXIT_NOTE, EXIT_NOTE_SIZE));
  CheckLeaks();
  std::_Exit(status);
}

std::size_t FormatRunError(char* out, std::size_t capacity, int code, const void* address,
                           const void* const* frames, int frame_count) {
  std::size_t used = 0;
  auto append = [&](const char* from, const char* to) {
    for (; from < to && used < capacity; ++from) out[used++] = *from;
  };
  char line[64];
  char* p = PutText(line, "Runtime error ");
  char digits[12];
  int n = 0;
  auto value = static_cast<unsigned>(code);
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) *p++ = digits[--n];
  p = PutText(p, " at $");
  p = PutAddress(p, reinterpret_cast<std::uintptr_t>(address));
  *p++ = '\n';
  append(line, p);
  for (int i = 0; i < frame_count; ++i) {
    p = PutText(line, "  $");
    p = PutAddress(p, reinterpret_cast<std::uintptr_t>(frames[i]));
    *p++ = '\n';
    append(line, p);
  }
  static const char kEmptyLine[] = "\n";
  append(kEmptyLine, kEmptyLine + 1);
  return used;
}

void WriteRunError(int code, const void* address, void* const* frames, int frame_count) {
  char report[kMaxFrames * 24 + 64];
  const std::size_t size =
      FormatRunError(report, sizeof report, code, address, frames, frame_count);
  WriteAll(kStandardOutput, std::string_view(report, size));
}

void RunError(int code, const void* address) {
  if (FLUSH_HANDLER != nullptr) FLUSH_HANDLER();
  RestoreModes();
  void* frames[kMaxFrames];
  const int count = CaptureBackTrace(frames, kMaxFrames);
  // The first frame is this function itself; the report starts at the error's address, or
  // at the call of this function when the address is unknown.
  if (address == nullptr && count > 1) address = frames[1];
  frames[0] = const_cast<void*>(address);
  WriteRunError(code, address, frames, count);
  std::_Exit(code);
}

}  // namespace runtime
