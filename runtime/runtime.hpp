// Run-time support: the orderly exit path, the terminal restored on every way out, job
// control, and the fatal run-time error report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/platform.hpp"

namespace runtime {

// A mode the program switched on in its environment (raw terminal input, colours), with
// the step that switches it off and the one that switches it on again. Both run from
// signal handlers, so they call only async-signal-safe functions. They are registered the
// moment the mode is switched on.
using ModeStep = void (*)();
void RegisterMode(ModeStep undo, ModeStep redo = nullptr);
// Switches every mode off, newest first, and forgets them: the last thing before the end.
void RestoreModes();
// Colours set on the stream FD are such a mode: while they differ from its defaults
// (CHANGED), every way out, a fault's report included, sets the defaults again first.
void ColoursChanged(int fd, bool changed);

// Called by Halt and RunError before the modes are switched off, outside any signal
// handler: puts everything drawn so far on the screen.
using FlushHandler = void (*)();
void SetFlushHandler(FlushHandler proc);

// The orderly exit: flush, restore, end the process with STATUS. Writes nothing of its own
// but the note, when one is set.
[[noreturn]] void Halt(int status);
// A line for standard error on the orderly exit, once the terminal is as it was found (how
// to repeat the run, say). At most 160 characters are kept.
void SetExitNote(std::string_view note);

// The program's name, as its command line gives it, for what the run-time and the console
// say on standard error; "program" until it is set. At most 40 characters are kept.
void SetProgramName(std::string_view name);
std::string_view ProgramName();

// Fatal run-time error CODE raised at ADDRESS (null when unknown: the report then starts at
// the call of RunError): flush and restore, then the report on standard output, then the end
// with status CODE.
[[noreturn]] void RunError(int code, const void* address);

// Run-time error numbers of the processor faults.
constexpr int kDivisionByZero = 200;
constexpr int kInvalidFloatingPoint = 207;
constexpr int kArithmeticOverflow = 215;
constexpr int kAccessViolation = 216;
constexpr int kOtherFault = 217;  // illegal instruction, abort
// The status of a run whose output could not be written (a disk write error).
constexpr int kOutputLost = 101;

// Formats the report for CODE at ADDRESS with the given back-trace addresses into OUT
// (at most CAPACITY bytes); returns the length. Allocates nothing.
std::size_t FormatRunError(char* out, std::size_t capacity, int code, const void* address,
                           const void* const* frames, int frame_count);

}  // namespace runtime
