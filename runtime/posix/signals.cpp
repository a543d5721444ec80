// Signal handling: every way out, and every stop, leaves the terminal as it was found.
// SIGINT, SIGQUIT, SIGTERM and SIGHUP restore the terminal and end the process by that same
// signal; processor faults and SIGABRT restore it and end with the run-time error report;
// SIGTSTP restores it and stops, and on SIGCONT the modes come back; a closed pipe is told by
// the write that fails (OutputLost), not by SIGPIPE. The handlers call only async-signal-safe
// functions; what they need is prepared by InstallSignalHandlers.
#include "runtime/posix/signals.hpp"

#include <signal.h>
#include <ucontext.h>
#include <unistd.h>
#include <unwind.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/internal.hpp"
#include "runtime/runtime.hpp"
#include "runtime/words.hpp"

namespace runtime {

namespace {

// The return addresses of the calls under way, innermost first, as the unwinder of the C++
// run-time walks them (through a signal's frame too), without this function's own: the
// program carries that unwinder, so nothing is loaded on first use, in a signal handler.
int Backtrace(void** frames, int capacity) {
  struct Walk {
    void** frames;
    int capacity;
    int count;
  } walk{frames, capacity, -1};
  _Unwind_Backtrace(
      [](_Unwind_Context* context, void* arg) {
        auto* w = static_cast<Walk*>(arg);
        if (w->count >= 0) w->frames[w->count] = reinterpret_cast<void*>(_Unwind_GetIP(context));
        return ++w->count == w->capacity ? _URC_END_OF_STACK : _URC_NO_REASON;
      },
      &walk);
  return walk.count < 0 ? 0 : walk.count;
}

constexpr int kDeathSignals[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};
constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

volatile sig_atomic_t RESUMED = 0;

// Room to report a stack overflow from.
alignas(16) char ALTERNATE_STACK[64 * 1024];

void Install(int sig, void (*handler)(int), int flags = SA_RESTART) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  for (int other : kDeathSignals) sigaddset(&action.sa_mask, other);
  sigaddset(&action.sa_mask, SIGTSTP);
  sigaddset(&action.sa_mask, SIGCONT);
  action.sa_flags = flags;
  sigaction(sig, &action, nullptr);
}

bool Ignored(int sig) {
  struct sigaction current {};
  return sigaction(sig, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void Unblock(int sig) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, sig);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

void OnDeathSignal(int sig) {
  RestoreModes();
  // Die by the same signal, so that the shell sees how the program ended.
  signal(sig, SIG_DFL);
  Unblock(sig);
  raise(sig);
}

void OnSuspend(int sig) {
  const int saved_errno = errno;
  SuspendModes();
  signal(sig, SIG_DFL);
  Unblock(sig);
  raise(sig);
  // Continued.
  Install(sig, OnSuspend);
  ResumeModes();
  RESUMED = 1;
  errno = saved_errno;
}

void OnContinue(int) {
  RESUMED = 1;
}

const void* FaultingInstruction(void* context) {
#if defined(__x86_64__)
  return reinterpret_cast<const void*>(
      static_cast<ucontext_t*>(context)->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
  return reinterpret_cast<const void*>(static_cast<ucontext_t*>(context)->uc_mcontext.pc);
#else
  (void)context;
  return nullptr;
#endif
}

void OnFault(int sig, siginfo_t* info, void* context) {
  RestoreModes();
  const void* address = FaultingInstruction(context);
  void* frames[kMaxFrames];
  int count = Backtrace(frames, kMaxFrames);
  // The trace starts in this handler; the report starts at the faulting instruction and
  // goes on with its callers.
  int first = 0;
  while (first < count && frames[first] != address) ++first;
  if (first == count) {
    first = count > 2 ? 1 : 0;
    frames[first] = const_cast<void*>(address);
  }
  WriteRunError(FaultCode(sig, info->si_code), address, frames + first, count - first);
  _exit(FaultCode(sig, info->si_code));
}

}  // namespace

int CaptureBackTrace(void** frames, int capacity) {
  // Without this function's own frame.
  void* all[kMaxFrames + 1];
  const int count = Backtrace(all, capacity < kMaxFrames ? capacity + 1 : kMaxFrames + 1);
  for (int i = 1; i < count; ++i) frames[i - 1] = all[i];
  return count > 0 ? count - 1 : 0;
}

int FaultCode(int sig, int code) {
  switch (sig) {
    case SIGSEGV:
    case SIGBUS: return kAccessViolation;
    case SIGFPE:
      if (code == FPE_INTDIV || code == FPE_FLTDIV) return kDivisionByZero;
      if (code == FPE_INTOVF || code == FPE_FLTOVF) return kArithmeticOverflow;
      return kInvalidFloatingPoint;
    default: return kOtherFault;
  }
}

void OutputLost(int error) {
  RestoreModes();
  if (error == EPIPE) {
    // A pipe whose reader has gone ends the program by SIGPIPE, as it ends any other; the
    // run ignores the signal only so that the write could say which output was lost.
    signal(SIGPIPE, SIG_DFL);
    raise(SIGPIPE);
  }
  const std::string line = Tr("{program}: the output is lost: {error}",
                              {{"program", ProgramName()}, {"error", std::strerror(error)}});
  WriteAll(2, ForOutput(line + "\n"));
  _exit(kOutputLost);
}

void RaiseForJob(int sig) {
  kill(0, sig);
}

bool TakeResumed() {
  if (RESUMED == 0) return false;
  RESUMED = 0;
  return true;
}

void InstallSignalHandlers() {
  stack_t stack{};
  stack.ss_sp = ALTERNATE_STACK;
  stack.ss_size = sizeof ALTERNATE_STACK;
  sigaltstack(&stack, nullptr);

  // A signal the caller set to be ignored (nohup, a background job of a script) stays
  // ignored: the program would otherwise die of what its caller meant it to survive.
  for (int sig : kDeathSignals)
    if (!Ignored(sig)) Install(sig, OnDeathSignal);
  if (!Ignored(SIGTSTP)) Install(SIGTSTP, OnSuspend);
  Install(SIGCONT, OnContinue);
  // A closed pipe fails the write, which ends the run in order (OutputLost).
  signal(SIGPIPE, SIG_IGN);
  for (int sig : kFaultSignals) {
    struct sigaction action {};
    action.sa_sigaction = OnFault;
    sigemptyset(&action.sa_mask);
    for (int other : kDeathSignals) sigaddset(&action.sa_mask, other);
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigaction(sig, &action, nullptr);
  }
}

}  // namespace runtime
