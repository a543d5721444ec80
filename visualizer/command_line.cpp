#include "visualizer/command_line.hpp"

#include <cstdio>

namespace visualizer {

CommandLine ParseCommandLine(const std::vector<std::string_view>& args, bool colour_option) {
  CommandLine line;
  for (std::string_view arg : args) {
    if (arg == "--help") {
      line.action = CommandLine::Action::kHelp;
    } else if (arg == "--version") {
      if (line.action != CommandLine::Action::kHelp) line.action = CommandLine::Action::kVersion;
    } else if (arg == "--no-color" && colour_option) {
      line.no_color = true;
    } else {
      line.action = CommandLine::Action::kError;
      line.error = (arg.starts_with("-") ? "unknown option '" : "unexpected argument '") +
                   std::string(arg) + "'";
      return line;
    }
  }
  return line;
}

int AnswerCommandLine(const CommandLine& line, std::string_view program, std::string_view help) {
  switch (line.action) {
    case CommandLine::Action::kRun: return -1;
    case CommandLine::Action::kHelp: std::fwrite(help.data(), 1, help.size(), stdout); return 0;
    case CommandLine::Action::kVersion:
      std::printf("%.*s %s\n", static_cast<int>(program.size()), program.data(), PROJECT_VERSION);
      return 0;
    case CommandLine::Action::kError: break;
  }
  std::fprintf(stderr, "%.*s: %s; see %.*s --help\n", static_cast<int>(program.size()),
               program.data(), line.error.c_str(), static_cast<int>(program.size()),
               program.data());
  return kUsageStatus;
}

}  // namespace visualizer
