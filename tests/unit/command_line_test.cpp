// The command line: one table of good and bad command lines and what they ask for, and the
// lists of --array that the page's field takes or refuses alike (tests/cases/arrays.cases).
#include "visualizer/command_line.hpp"

#include <gtest/gtest.h>

#include "platform_cases.hpp"

namespace visualizer {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, GoodAndBadLines) {
  const struct {
    std::vector<std::string_view> args;
    Action action;
    std::vector<int32_t> array;
    const char* error;
  } cases[] = {
      {{}, Action::kRun, {}, ""},
      {{"--help", "--version"}, Action::kHelp, {}, ""},
      {{"-h"}, Action::kHelp, {}, ""},
      {{"--version"}, Action::kVersion, {}, ""},
      {{"--no-color"}, Action::kRun, {}, ""},
      {{"--array=-99, 999, 0"}, Action::kRun, {-99, 999, 0}, ""},
      {{"--random", "--seed", "7"}, Action::kRun, {}, ""},
      {{"--compare", "--seed", "7"}, Action::kRun, {}, ""},
      {{"--bogus"}, Action::kError, {}, "unknown option '--bogus'"},
      {{"stray"}, Action::kError, {}, "unexpected argument 'stray'"},
      {{"--array"}, Action::kError, {}, "--array needs a value"},
      {{"--seed", "7"}, Action::kError, {}, "--seed goes with --random"},
      {{"--random", "--seed", "x"}, Action::kError, {}, "--seed: 'x' is not a whole number"},
      {{"--random", "--array", "1"}, Action::kError, {}, "choose --array or --random, not both"},
      {{"--help=1"}, Action::kError, {}, "unknown option '--help=1'"},
      {{"--auto=0.04"}, Action::kError, {}, "--auto: '0.04' is not a number of seconds"},
      {{"--auto=10.01"}, Action::kError, {}, "--auto: '10.01' is not a number of seconds"},
      {{"--auto=1,5"}, Action::kError, {}, "--auto: '1,5' is not a number of seconds"},
      {{"--auto=."}, Action::kError, {}, "--auto: '.' is not a number of seconds"},
      {{"--auto=1.2.3"}, Action::kError, {}, "--auto: '1.2.3' is not a number of seconds"},
      {{"--auto=0.0494"}, Action::kError, {}, "--auto: '0.0494' is not a number of seconds"},
  };
  for (const auto& c : cases) {
    const std::string line = ::testing::PrintToString(c.args);
    const CommandLine got = ParseCommandLine(c.args, true);
    EXPECT_EQ(got.action, c.action) << line;
    EXPECT_EQ(got.array, c.array) << line;
    EXPECT_EQ(got.error.rfind(c.error, 0), 0u) << line << ": " << got.error;
  }
  for (const auto& [args, ms] : std::vector<std::pair<std::vector<std::string_view>, uint32_t>>{
           {{"--auto"}, 1000u},
           {{"--auto=0.05"}, 50u},
           {{"--auto=10"}, 10000u},
           {{"--auto=0010.0004"}, 10000u},  // rounded to the millisecond, as it is taken
           {{"--auto=.5"}, 500u},
           {{"--auto=5."}, 5000u},
           {{"--auto=0.0495"}, 50u},
           {{"--auto=1.23456"}, 1235u},
           {{"--random", "--auto=0.5"}, 500u},
           {{}, 0u}})
    EXPECT_EQ(ParseCommandLine(args, true).auto_ms, ms) << ::testing::PrintToString(args);
  EXPECT_EQ(ParseCommandLine({"--no-color"}, false).action, Action::kError)
      << "console-keys knows only --help and --version";
}

TEST(CommandLine, TheSameSeedDrawsTheSameNumbersEverywhere) {
  EXPECT_EQ(RandomArray(7), (std::vector<int32_t>{15, 92, 21, 86, 83, 47, 87, 79, 88, 61}));
  EXPECT_NE(RandomArray(8), RandomArray(7));
}

// Messages name the program as it was run, without its folder or .exe.
TEST(CommandLine, TheNameItWasRunBy) {
  EXPECT_EQ(NameRunBy("/usr/bin/insertion-sort-demo", "x"), "insertion-sort-demo");
  EXPECT_EQ(NameRunBy("./sortdemo", "x"), "sortdemo");
  EXPECT_EQ(NameRunBy("C:\\games\\Demo.EXE", "x"), "Demo");
  EXPECT_EQ(NameRunBy("", "insertion-sort-demo"), "insertion-sort-demo");
  EXPECT_EQ(NameRunBy(nullptr, "insertion-sort-demo"), "insertion-sort-demo");
}

// Each list taken gives its numbers; each refused names its fault and item in the program's
// words.
TEST(CommandLine, EveryLineOfTheArraysCases) {
  for (const auto& [number, line, words] : e2e::ReadCaseLines(ARRAYS_CASES)) {
    SCOPED_TRACE("arrays.cases:" + std::to_string(number));
    ASSERT_GE(words.size(), 3u);
    ASSERT_EQ(words[1], "->");
    const CommandLine got = ParseCommandLine({"--array", words[0]}, true);
    const std::string& fault = words[2];
    const std::string item = words.size() > 3 ? words[3] : "";
    if (fault == "whole" || fault == "missing" || fault == "empty") {
      EXPECT_EQ(got.error, "--array: '" + item + "' is not a whole number");
    } else if (fault == "range") {
      EXPECT_EQ(got.error, "--array: " + item + " is not from -99 to 999");
    } else if (fault == "many") {
      EXPECT_EQ(got.error, "--array: more than 10 numbers");
    } else {
      std::vector<int32_t> numbers;
      for (std::size_t k = 2; k < words.size(); ++k) numbers.push_back(std::stoi(words[k]));
      EXPECT_EQ(got.array, numbers);
      EXPECT_EQ(got.action, CommandLine::Action::kRun) << got.error;
    }
  }
}

}  // namespace
}  // namespace visualizer
