// Run-time support: the orderly exit path, terminal restore on every way out, and the
// fatal run-time error report.
#pragma once

#include <cstdint>

namespace rt {

// A restore step undoes one thing the program changed in its environment (a terminal
// mode, the termios settings). Restore steps run on every exit path, signals included,
// so they must call only async-signal-safe functions. They run newest first.
using RestoreProc = void (*)();
void REGISTERRESTORE(RestoreProc proc);
void UNREGISTERRESTORE(RestoreProc proc);
void RUNRESTORE();

// Called by HALT before the restore steps, outside any signal handler: puts everything
// drawn so far on the screen.
using FlushProc = void (*)();
void SETFLUSHPROC(FlushProc proc);

// The orderly exit: flush, restore, end the process with STATUS. Writes nothing of its own.
[[noreturn]] void HALT(int status);

// Fatal run-time error CODE raised at ADDRESS: flush and restore, write the report on
// standard output, end with status CODE.
[[noreturn]] void RUNERROR(int code, const void* address);

// Installs handlers so that SIGINT, SIGQUIT, SIGTERM and SIGHUP restore the terminal and
// then end the process by that same signal.
void INSTALLSIGNALHANDLERS();

// Formats the report for CODE at ADDRESS with the given back-trace addresses into OUT
// (at most CAPACITY bytes); returns the length. Allocates nothing.
std::size_t FORMATRUNERROR(char* out, std::size_t capacity, int code, const void* address,
                           const void* const* frames, int frame_count);

}  // namespace rt
