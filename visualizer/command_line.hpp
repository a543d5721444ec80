// The command line of the programs: what it asks for, read in one place. With no
// arguments a program runs exactly as it always has.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace visualizer {

struct CommandLine {
  enum class Action { kRun, kHelp, kVersion, kError };
  Action action = Action::kRun;
  bool no_color = false;  // --no-color
  std::string error;      // for kError: what is wrong, in a few words
};

// Reads ARGS (without the program's name). COLOUR_OPTION: the program knows --no-color.
CommandLine ParseCommandLine(const std::vector<std::string_view>& args, bool colour_option);

// Answers a command line that asks for no run: the help (HELP) or the version on standard
// output, an error in one line on standard error. Returns the exit status, or -1 when the
// program is to run.
int AnswerCommandLine(const CommandLine& line, std::string_view program, std::string_view help);

// The exit status of a command line that is wrong.
constexpr int kUsageStatus = 2;

}  // namespace visualizer
