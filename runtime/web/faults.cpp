// Run-time support in a browser. There are no signals: the page ends the run when the
// program ends, and a WebAssembly trap (out-of-bounds memory access, integer division by
// zero, unreachable code) ends it in the page, which hands it back here to be reported as
// the processor's faults are elsewhere. The addresses are offsets into the WebAssembly
// code, as the browser's stack trace gives them.
#include <emscripten.h>

#include <algorithm>
#include <iterator>

#include "runtime/internal.hpp"
#include "runtime/runtime.hpp"

namespace runtime {
namespace {

void* FAULT_FRAMES[kMaxFrames];

// clang-format off
EM_JS(int, page_code_addresses, (void** frames, int capacity), {
  const found = Module.page.codeAddresses(new Error().stack).slice(0, capacity);
  HEAPU32.set(found, frames >> 2);
  return found.length;
});
// clang-format on

}  // namespace

int CaptureBackTrace(void** frames, int capacity) {
  // Without this function's own frame.
  void* all[kMaxFrames + 1];
  const int count = page_code_addresses(all, std::min(capacity, kMaxFrames) + 1);
  for (int i = 1; i < count; ++i) frames[i - 1] = all[i];
  return count > 0 ? count - 1 : 0;
}

void InstallSignalHandlers() {}

bool TakeResumed() {
  return false;
}

}  // namespace runtime

extern "C" {

// Where the page puts the code addresses of a trap, innermost first.
EMSCRIPTEN_KEEPALIVE void** web_fault_frames() {
  return runtime::FAULT_FRAMES;
}

// Reports the trap of kind KIND (as web/run.js names them: 0 integer division by zero, 1
// integer overflow, 2 memory out of bounds or the stack exhausted, 3 anything else) whose
// COUNT addresses the page has put into the fault frames. Returns its run-time error
// number, with which the page then ends the run.
EMSCRIPTEN_KEEPALIVE int web_report_fault(int kind, int count) {
  static constexpr int kCodes[] = {runtime::kDivisionByZero, runtime::kArithmeticOverflow,
                                   runtime::kAccessViolation, runtime::kOtherFault};
  const int code =
      kind >= 0 && kind < static_cast<int>(std::size(kCodes)) ? kCodes[kind] : runtime::kOtherFault;
  runtime::RestoreModes();
  count = std::clamp(count, 0, runtime::kMaxFrames);
  runtime::WriteRunError(code, count > 0 ? runtime::FAULT_FRAMES[0] : nullptr,
                         runtime::FAULT_FRAMES, count);
  return code;
}
}
