#include "console/stream/colour_mode.hpp"

#include <csignal>
#include <string_view>

#include "runtime/platform.hpp"
#include "runtime/runtime.hpp"

namespace console::stream {
namespace {

// Set from the program, read from the restore, which may run in a signal handler.
int OUT_FD = 1;
bool REGISTERED = false;
volatile sig_atomic_t CHANGED = 0;

// The restore must not wait for an output that has stopped reading.
constexpr int kResetWriteBudgetMs = 20;

void ResetColours() {
  if (CHANGED == 0) return;
  runtime::WriteWithin(OUT_FD, "\x1b[m", kResetWriteBudgetMs);
  CHANGED = 0;
}

}  // namespace

void ColoursChanged(int fd, bool changed) {
  OUT_FD = fd;
  if (changed && !REGISTERED) {
    REGISTERED = true;
    runtime::RegisterMode(ResetColours);
  }
  CHANGED = changed ? 1 : 0;
}

}  // namespace console::stream
