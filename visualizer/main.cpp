// insertion-sort-demo: insertion sort, step by step, in the terminal.
#include "console/console.hpp"
#include "console/native_console.hpp"
#include "runtime/runtime.hpp"
#include "visualizer/driver.hpp"
#include "visualizer/step_gate.hpp"

int main() {
  runtime::InstallSignalHandlers();
  console::Init(console::OpenNativeConsole());
  // Keys that run out before the demonstration ends abort it as Esc would; in the final
  // line read the line editor takes the end of input as Enter.
  console::SetEndOfInputHandler(visualizer::BreakProgram);
  visualizer::RunDemo();
  runtime::Halt(0);
}
