// A test-only program built from the run-time module: takes over the terminal, draws in
// colour, waits for a key, then faults in the way its argument names (segv, bus, fpe, ill,
// abort, ioerror). In a browser, segv, fpe and ill are the WebAssembly traps.
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "console/console.hpp"
#include "console/native_console.hpp"
#include "console/write_statements.hpp"
#include "runtime/runtime.hpp"

using namespace console;

namespace {

volatile int ZERO = 0;
#ifdef __EMSCRIPTEN__
// Address 0 is ordinary memory in WebAssembly; the top of the address space is beyond it.
int* volatile NOWHERE = reinterpret_cast<int*>(0xFFFFFFF0U);
#else
int* volatile NOWHERE = nullptr;
#endif

[[gnu::noinline]] int Divide(int a) {
  return a / ZERO;
}
[[gnu::noinline]] void Store() {
  *NOWHERE = 1;
}

}  // namespace

int main(int argc, char** argv) {
  runtime::InstallSignalHandlers();
  Init(OpenNativeConsole());
  TEXTCOLOR(12);
  WriteLn({"armed"});
  READKEY();
  const char* mode = argc > 1 ? argv[1] : "";
  if (std::strcmp(mode, "segv") == 0) Store();
  if (std::strcmp(mode, "fpe") == 0) return Divide(argc);
#ifdef SIGBUS
  if (std::strcmp(mode, "bus") == 0) std::raise(SIGBUS);
#endif
  if (std::strcmp(mode, "ill") == 0) __builtin_trap();
  if (std::strcmp(mode, "abort") == 0) std::abort();
  if (std::strcmp(mode, "ioerror") == 0) {
    CloseText(OUTPUT);
    WriteLn({"lost"});
  }
  runtime::Halt(0);
}
