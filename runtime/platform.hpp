// What each platform's run-time implements, in its own folder: posix/, windows/ and web/.
// The rest of the run-time (runtime.cpp) and its users stand on these alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace runtime {

enum class Language : uint8_t;  // the languages the program speaks (words.hpp)

// The language the user asks for: on POSIX gettext's variables, unless the locale's
// character set cannot show the Russian letters; on Windows the user's interface language;
// on a page the page's.
Language UserLanguage();
// The Russian catalogue as msgfmt compiles it (a GNU .mo file): compiled into the program,
// or on a page the one that the page loaded for its own words; empty when there is none.
std::string_view RussianCatalogue();
// TEXT, UTF-8, in the character set of the program's standard output and error.
std::string ForOutput(std::string_view text);

// Installs what ends the program in order on the platform's signals and faults: the
// terminal restored on every way out, faults reported with their run-time error numbers.
void InstallSignalHandlers();

// True once after the program was continued from a stop: the terminal may show anything
// now, the cursor included. Never on a platform without job control.
bool TakeResumed();

// The return addresses of the calls under way, innermost first (this function's caller
// first); returns how many were found.
int CaptureBackTrace(void** frames, int capacity);

// Writes all of BYTES to FD, going on after an interrupted or partial write and waiting
// while a non-blocking FD is full. Returns 0, or the error (errno; on Windows its own code)
// with which a closed or failing output lost the rest. Async-signal-safe.
int WriteAll(int fd, std::string_view bytes);

// The program's output is gone for good (a pipe whose reader has gone, a full disk, a
// terminal that hung up) with ERROR, as WriteAll gave it: the run ends at once, its modes
// undone as on every way out, by the platform's convention for a closed pipe, otherwise
// with one line on standard error and the status kOutputLost.
[[noreturn]] void OutputLost(int error);

// Writes BYTES to FD as far as it takes them within about BUDGET_MS: for the restore on
// the way out, which must not hang on an output that nobody reads any more.
void WriteWithin(int fd, std::string_view bytes, int budget_ms);

}  // namespace runtime

// The return address of the function that uses it, for the report of a run-time error it
// raises. WebAssembly has none to read: there RunError takes the caller's place from the
// back-trace.
#if defined(__EMSCRIPTEN__)
#define RUNTIME_RETURN_ADDRESS() nullptr
#else
#define RUNTIME_RETURN_ADDRESS() __builtin_return_address(0)
#endif
