// Writing a whole buffer to a descriptor, for the program, its signal handlers and the
// tests alike. Async-signal-safe.
#pragma once

#include <cstddef>
#include <string_view>

namespace runtime {

// Writes all of BYTES to FD, going on after an interrupted or partial write and waiting
// while a non-blocking FD is full. A closed or failing output loses the rest; the caller
// goes on.
void WriteAll(int fd, std::string_view bytes);

// Writes BYTES to FD as far as it takes them within about BUDGET_MS: for the restore on
// the way out, which must not hang on an output that nobody reads any more.
void WriteWithin(int fd, std::string_view bytes, int budget_ms);

}  // namespace runtime
