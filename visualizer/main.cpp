// insertion-sort-demo: insertion sort, step by step, in the terminal.
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.hpp"
#include "console/native_console.hpp"
#include "console/window_copy.hpp"
#include "runtime/runtime.hpp"
#include "runtime/words.hpp"
#include "visualizer/command_line.hpp"
#include "visualizer/compare.hpp"
#include "visualizer/driver.hpp"
#include "visualizer/sentences.hpp"
#include "visualizer/step_gate.hpp"
#include "visualizer/teaching.hpp"

namespace {

constexpr std::string_view kProgram = "insertion-sort-demo";
constexpr std::string_view kHelp = runtime::N_(
    "Usage: {program} [OPTION]...\n"
    "Insertion sort, step by step: choose one of four arrays, then watch every\n"
    "selection, comparison and move, one step per key, until the totals.\n"
    "\n"
    "Options:\n"
    "  --array LIST  sort your own array instead of choosing one: 1 to 10 whole\n"
    "                numbers from -99 to 999, separated by commas (--array 5,3,8,1)\n"
    "  --random      sort ten numbers from 0 to 99 drawn at random; at the end the\n"
    "                program says how to repeat the run\n"
    "  --seed N      with --random or --compare: draw the random numbers from N,\n"
    "                the same every time\n"
    "  --auto[=S]    every step passes by itself after S seconds (1 unless given,\n"
    "                0.05 to 10); Space passes at once, P pauses and resumes, Esc\n"
    "                stops\n"
    "  --back        step back: at a step, Left or Backspace shows the screen\n"
    "                before, and again; Space or Right goes forward through them,\n"
    "                then on\n"
    "  --explain     every frame also says its step in a sentence with its values,\n"
    "                and the totals what makes them what they are\n"
    "  --quiz        predict: each comparison first asks whether the element moves\n"
    "                right; answer Y or N, then see; the score follows the totals\n"
    "  --compare     no run: print what the sort costs for the menu's arrays and\n"
    "                for 10, 100 and 1000 numbers in order, at random and in\n"
    "                reverse order (and for --array's), with the least and the most\n"
    "                it can cost\n"
    "  --no-color    draw without colours: a compared element that is larger in\n"
    "                bold, one that is not larger underlined (so too when NO_COLOR\n"
    "                is set)\n"
    "  --screen-reader  lines for a screen reader or a braille display: one line\n"
    "                for each step, with every number, and no frames or colours\n"
    "  --practice    sort it yourself: Left and Right move the cursor, Down or Enter\n"
    "                takes up the element under it and puts it down, Left moves the\n"
    "                element left of the gap one place right; each mistake is named\n"
    "  -h, --help    show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Keys: 1 to 4 choose an array; Space goes to the next step; Esc stops the run.\n"
    "With --back, Left and Backspace go back; with --quiz, Y and N answer. At the\n"
    "end, type a line and press Enter. Ctrl+C ends the program at once.\n"
    "\n"
    "The captions on the screen are the program's own: \"current selection\" (the\n"
    "element taken up), \"comparison\", \"moving\" (one place right),\n"
    "\"Total comparisons\", \"Total movings\" (the moves) and \"breaking program\" (Esc).\n"
    "\n"
    "Exit status: 0 after a whole run, 100 when stopped with Esc, 2 for a wrong\n"
    "command line, 101 when the output is lost.\n"
    "See the manual: man insertion-sort-demo\n");

}  // namespace

int main(int argc, char** argv) {
  const visualizer::CommandLine line =
      visualizer::TakeCommandLine(argc, argv, kProgram, kHelp, true);
  std::vector<int32_t> numbers = line.array;
  std::string name = visualizer::OwnArrayName(numbers);
  // The random numbers of --random and --compare come from the seed given, or from one that
  // the program then says.
  const bool draws = line.random || line.compare;
  const uint32_t seed = line.seeded || !draws ? line.seed : std::random_device()();
#ifndef __EMSCRIPTEN__
  // A table for standard output, which a page does not show: its own table of runs stands
  // for it, and the page's program does without the 17 KB of its code.
  if (line.compare) {
    std::vector<visualizer::NamedArray> more;
    if (!line.array.empty()) more.push_back({name, line.array});
    visualizer::PrintOut(visualizer::CostTable(seed, more));
    return 0;
  }
#endif
  if (line.random) {
    numbers = visualizer::RandomArray(seed);
    name = visualizer::RandomArrayName(seed);
    if (!line.seeded)
      runtime::SetExitNote(
          runtime::ForOutput(runtime::Tr("to repeat this run: {program} --random --seed {seed}",
                                         {{"program", runtime::ProgramName()}, {"seed", seed}}) +
                             "\n"));
  }
  visualizer::Modes = {line.auto_ms, line.back, line.explain, line.quiz};
  visualizer::Modes.lines = line.screen_reader;
  visualizer::Modes.practice = line.practice;
  runtime::InstallSignalHandlers();
  console::Init(console::OpenNativeConsole({line.no_color || line.screen_reader}));
  visualizer::Modes.describe = console::NativeDescriptionSink();
  // Going back redraws a screen kept, but a line is written again instead.
  if (line.back && !line.screen_reader) console::KeepWindowCopy();
  // Keys that run out before the demonstration ends abort it as Esc would; in the final
  // line read the line editor takes the end of input as Enter.
  console::SetEndOfInputHandler(visualizer::BreakProgram);
  if (numbers.empty()) {
    visualizer::RunDemo();
  } else {
    visualizer::RunOwnArray(numbers, name);
  }
  runtime::Halt(0);
}
