#include "runtime/runtime.hpp"

#include <execinfo.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace rt {
namespace {

constexpr int kMaxRestore = 16;
RestoreProc RESTORE_PROCS[kMaxRestore];
std::atomic<int> RESTORE_COUNT{0};
FlushProc FLUSH_PROC = nullptr;

constexpr int kFatalSignals[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};

void WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t done = write(fd, data, size);
    if (done < 0) {
      if (errno == EINTR) continue;
      return;
    }
    data += done;
    size -= static_cast<std::size_t>(done);
  }
}

void OnFatalSignal(int sig) {
  RUNRESTORE();
  // Die by the same signal, so that the shell sees how the program ended.
  signal(sig, SIG_DFL);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, sig);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
  raise(sig);
}

char* PutHex8(char* p, std::uintptr_t value) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (int shift = 28; shift >= 0; shift -= 4) *p++ = kDigits[(value >> shift) & 15];
  return p;
}

}  // namespace

void REGISTERRESTORE(RestoreProc proc) {
  int n = RESTORE_COUNT.load();
  if (n < kMaxRestore) {
    RESTORE_PROCS[n] = proc;
    RESTORE_COUNT.store(n + 1);
  }
}

void UNREGISTERRESTORE(RestoreProc proc) {
  int n = RESTORE_COUNT.load();
  for (int i = n - 1; i >= 0; --i) {
    if (RESTORE_PROCS[i] != proc) continue;
    for (int k = i; k + 1 < n; ++k) RESTORE_PROCS[k] = RESTORE_PROCS[k + 1];
    RESTORE_COUNT.store(n - 1);
    return;
  }
}

void RUNRESTORE() {
  // Take each step off the list before running it, so that a signal arriving while we
  // restore does not undo anything twice.
  for (int n = RESTORE_COUNT.load(); n > 0; n = RESTORE_COUNT.load()) {
    RestoreProc proc = RESTORE_PROCS[n - 1];
    RESTORE_COUNT.store(n - 1);
    proc();
  }
}

void SETFLUSHPROC(FlushProc proc) { FLUSH_PROC = proc; }

void HALT(int status) {
  if (FLUSH_PROC != nullptr) FLUSH_PROC();
  RUNRESTORE();
  std::_Exit(status);
}

std::size_t FORMATRUNERROR(char* out, std::size_t capacity, int code, const void* address,
                           const void* const* frames, int frame_count) {
  char line[64];
  std::size_t used = 0;
  auto append = [&](const char* from, const char* to) {
    for (; from < to && used < capacity; ++from) out[used++] = *from;
  };
  char* p = line;
  for (const char* s = "Runtime error "; *s != 0; ++s) *p++ = *s;
  char digits[12];
  int n = 0;
  unsigned value = static_cast<unsigned>(code);
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) *p++ = digits[--n];
  for (const char* s = " at $"; *s != 0; ++s) *p++ = *s;
  p = PutHex8(p, reinterpret_cast<std::uintptr_t>(address));
  *p++ = '\n';
  append(line, p);
  for (int i = 0; i < frame_count; ++i) {
    p = line;
    *p++ = ' ';
    *p++ = ' ';
    *p++ = '$';
    p = PutHex8(p, reinterpret_cast<std::uintptr_t>(frames[i]));
    *p++ = '\n';
    append(line, p);
  }
  static const char kEmptyLine[] = "\n";
  append(kEmptyLine, kEmptyLine + 1);
  return used;
}

void RUNERROR(int code, const void* address) {
  if (FLUSH_PROC != nullptr) FLUSH_PROC();
  RUNRESTORE();
  void* frames[32];
  int count = backtrace(frames, 32);
  // The first frame is this function; the report starts at the faulting address.
  frames[0] = const_cast<void*>(address);
  char report[32 * 16 + 64];
  std::size_t size = FORMATRUNERROR(report, sizeof report, code, address, frames, count);
  WriteAll(STDOUT_FILENO, report, size);
  std::_Exit(code);
}

void INSTALLSIGNALHANDLERS() {
  // A closed output loses the write; it never kills the program.
  signal(SIGPIPE, SIG_IGN);
  for (int sig : kFatalSignals) {
    struct sigaction action {};
    action.sa_handler = OnFatalSignal;
    sigemptyset(&action.sa_mask);
    for (int other : kFatalSignals) sigaddset(&action.sa_mask, other);
    sigaction(sig, &action, nullptr);
  }
}

}  // namespace rt
