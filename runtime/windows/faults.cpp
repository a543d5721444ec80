// Run-time support on Windows: processor faults through the unhandled-exception filter,
// with the same report and numbers as on POSIX. Ctrl+C and Ctrl+Break keep the console's
// own meaning (the process ends); the program changes no console mode, so there is nothing
// to restore then.
#include <windows.h>

#include <csignal>
#include <cstdlib>

#include "runtime/internal.hpp"
#include "runtime/runtime.hpp"

namespace runtime {
namespace {

int FaultCodeOf(DWORD exception) {
  switch (exception) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_STACK_OVERFLOW: return kAccessViolation;
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO: return kDivisionByZero;
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_FLT_OVERFLOW: return kArithmeticOverflow;
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW: return kInvalidFloatingPoint;
    default: return kOtherFault;
  }
}

LONG WINAPI OnFault(EXCEPTION_POINTERS* fault) {
  RestoreModes();
  const void* address = fault->ExceptionRecord->ExceptionAddress;
  const int code = FaultCodeOf(fault->ExceptionRecord->ExceptionCode);
  // The trace of this filter's callers; the report starts at the faulting instruction and
  // goes on with the frames below the system's dispatcher where they can be found.
  void* frames[kMaxFrames];
  int count = CaptureBackTrace(frames, kMaxFrames);
  frames[0] = const_cast<void*>(address);
  // The walk ends where the frames do.
  int shown = 1;
  while (shown < count && frames[shown] != nullptr) ++shown;
  WriteRunError(code, address, frames, shown);
  ExitProcess(static_cast<UINT>(code));
}

// The C run-time's abort() raises SIGABRT: the same report and number as on POSIX, where
// it would otherwise end the process with status 3 and a message box's text.
void OnAbort(int /*sig*/) {
  RestoreModes();
  void* frames[kMaxFrames];
  // From the caller of abort(): the handler and the run-time's raise are left out.
  constexpr int kOwnFrames = 2;
  const int count = CaptureBackTrace(frames, kMaxFrames);
  int shown = kOwnFrames;
  while (shown < count && frames[shown] != nullptr) ++shown;
  const int first = count > kOwnFrames ? kOwnFrames : 0;
  WriteRunError(kOtherFault, frames[first], frames + first, shown - first);
  ExitProcess(static_cast<UINT>(kOtherFault));
}

// Ctrl+C and Ctrl+Break end the program as Windows' own handler does, with the status that
// says so (STATUS_CONTROL_C_EXIT), after the modes are undone. Wine's console in a Unix
// terminal would otherwise end it with status 0.
BOOL WINAPI OnControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  RestoreModes();
  ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

}  // namespace

int CaptureBackTrace(void** frames, int capacity) {
  return RtlCaptureStackBackTrace(1, static_cast<DWORD>(capacity), frames, nullptr);
}

void InstallSignalHandlers() {
  SetUnhandledExceptionFilter(OnFault);
  std::signal(SIGABRT, OnAbort);
  SetConsoleCtrlHandler(OnControl, TRUE);
}

bool TakeResumed() {
  return false;
}

}  // namespace runtime
