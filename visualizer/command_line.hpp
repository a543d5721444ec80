// The command line of the programs: what it asks for, read in one place. With no
// arguments a program runs exactly as it always has.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace visualizer {

struct CommandLine {
  enum class Action { kRun, kHelp, kVersion, kError };
  Action action = Action::kRun;
  bool no_color = false;       // --no-color
  std::vector<int32_t> array;  // --array LIST: the user's own, empty when none
  bool random = false;         // --random
  bool seeded = false;         // --seed N
  uint32_t seed = 0;
  uint32_t auto_ms = 0;        // --auto[=SECONDS], in milliseconds; 0 when off
  bool back = false;           // --back
  bool explain = false;        // --explain
  bool quiz = false;           // --quiz
  bool compare = false;        // --compare
  bool screen_reader = false;  // --screen-reader
  bool practice = false;       // --practice
  std::string error;           // for kError: what is wrong, in a few words
};

// The numbers of an array of the user's own: 1 to 10 of them, each from -99 to 999, so that
// they fit the four-column fields.
constexpr std::size_t kMostNumbers = 10;
constexpr int32_t kLeast = -99;
constexpr int32_t kGreatest = 999;

// Auto-play's delay: 1 second unless the option says, from 0.05 to 10.
constexpr uint32_t kAutoDefaultMs = 1000;
constexpr uint32_t kAutoLeastMs = 50;
constexpr uint32_t kAutoMostMs = 10000;

// Reads ARGS (without the program's name). DEMO_OPTIONS: the program knows the options of
// the demonstration (--no-color, --array, --random, --seed, --auto, --back, --explain,
// --quiz, --compare, --screen-reader, --practice); otherwise only --help and --version.
CommandLine ParseCommandLine(const std::vector<std::string_view>& args, bool demo_options);

// COUNT numbers from 0 to 99 that SEED draws, the same on every platform.
std::vector<int32_t> RandomNumbers(uint32_t seed, std::size_t count);
// The ten of --random.
inline std::vector<int32_t> RandomArray(uint32_t seed) {
  return RandomNumbers(seed, kMostNumbers);
}

// Answers a command line that asks for no run: the help (HELP, a message of the catalogue
// with {program} in it) or the version on standard output, an error in one line on
// standard error. Returns the exit status, or -1 when the
// program is to run.
int AnswerCommandLine(const CommandLine& line, std::string_view program, std::string_view help);

// The name a program was run by, as its messages give it: ARGV0 without its folder (and
// without .exe); FALLBACK when there is none.
std::string_view NameRunBy(const char* argv0, std::string_view fallback);

// A program's command line from ARGC and ARGV; one that asks for no run is answered here
// (AnswerCommandLine) and the program ends with that status. The program's name is the
// one it was run by (runtime::ProgramName), FALLBACK when ARGV has none.
CommandLine TakeCommandLine(int argc, char** argv, std::string_view fallback, std::string_view help,
                            bool demo_options);

// Writes TEXT on standard output, all of it: a lost output ends the program as it ends a
// run (runtime::OutputLost), never as a success.
void PrintOut(std::string_view text);

// The exit status of a command line that is wrong.
constexpr int kUsageStatus = 2;

}  // namespace visualizer
