#include "visualizer/command_line.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "runtime/platform.hpp"
#include "runtime/runtime.hpp"
#include "runtime/words.hpp"

namespace visualizer {

using runtime::Tr;

namespace {

// A whole number, all of TEXT; nothing otherwise.
template <typename Number>
bool WholeNumber(std::string_view text, Number& value) {
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && at == end && !text.empty();
}

// The numbers of --array's LIST; false, with the problem in ERROR, when it breaks the rules.
bool ReadList(std::string_view list, std::vector<int32_t>& numbers, std::string& error) {
  numbers.clear();
  for (;;) {
    const std::size_t comma = list.find(',');
    std::string_view item = list.substr(0, comma);
    if (!numbers.empty())
      while (item.starts_with(' ')) item.remove_prefix(1);  // a blank after a comma
    // A whole number too long for any int is still a whole number, out of range.
    int32_t number = 0;
    const auto [at, fault] = std::from_chars(item.data(), item.data() + item.size(), number);
    const bool too_long = fault == std::errc::result_out_of_range;
    if (item.empty() || at != item.data() + item.size() || (fault != std::errc() && !too_long)) {
      error = Tr("--array: '{item}' is not a whole number", {{"item", item}});
      return false;
    }
    if (too_long || number < kLeast || number > kGreatest) {
      error = Tr("--array: {number} is not from -99 to 999", {{"number", item}});
      return false;
    }
    numbers.push_back(number);
    if (numbers.size() > kMostNumbers) {
      error = Tr("--array: more than 10 numbers");
      return false;
    }
    if (comma == std::string_view::npos) return true;
    list.remove_prefix(comma + 1);
  }
}

// Auto-play's delay from SECONDS (empty: the default) into MS, rounded to the nearest
// millisecond; false when out of range. Digits and at most one point, in C's own notation,
// whatever the locale.
bool ReadDelay(std::string_view seconds, uint32_t& ms) {
  if (seconds.empty()) {
    ms = kAutoDefaultMs;
    return true;
  }
  const std::size_t point = seconds.find('.');
  const std::string_view whole = seconds.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : seconds.substr(point + 1);
  const auto digits = [](std::string_view text) {
    return text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (!digits(whole) || !digits(fraction) || whole.size() + fraction.size() == 0) return false;
  // Ten seconds at most: a longer whole part is out of range whatever follows it.
  const std::size_t first = std::min(whole.find_first_not_of('0'), whole.size());
  if (whole.size() - first > 2) return false;
  uint32_t value = 0;  // in tenths of a millisecond
  for (char digit : whole) value = value * 10 + static_cast<uint32_t>(digit - '0');
  for (std::size_t k = 0; k < 4; ++k)
    value = value * 10 + (k < fraction.size() ? static_cast<uint32_t>(fraction[k] - '0') : 0);
  const uint32_t rounded = (value + 5) / 10;
  if (rounded < kAutoLeastMs || rounded > kAutoMostMs) return false;
  ms = rounded;
  return true;
}

// The member that the demonstration's flag OPTION sets; none for any other word.
bool CommandLine::*FlagOf(std::string_view option) {
  static constexpr std::pair<std::string_view, bool CommandLine::*> kFlags[] = {
      {"--no-color", &CommandLine::no_color},
      {"--random", &CommandLine::random},
      {"--back", &CommandLine::back},
      {"--explain", &CommandLine::explain},
      {"--quiz", &CommandLine::quiz},
      {"--compare", &CommandLine::compare},
      {"--screen-reader", &CommandLine::screen_reader},
      {"--practice", &CommandLine::practice}};
  for (const auto& [name, flag] : kFlags)
    if (option == name) return flag;
  return nullptr;
}

// Options that each make sense but not together, in the user's words; empty when none.
std::string_view ConflictIn(const CommandLine& line) {
  if (line.random && !line.array.empty()) return Tr("choose --array or --random, not both");
  if (line.practice && (line.auto_ms > 0 || line.back || line.quiz))
    return Tr("--practice goes with none of --auto, --back and --quiz");
  if (line.seeded && !line.random && !line.compare)
    return Tr("--seed goes with --random or --compare");
  return {};
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string_view>& args, bool demo_options) {
  CommandLine line;
  auto fail = [](std::string error) {
    CommandLine wrong;
    wrong.action = CommandLine::Action::kError;
    wrong.error = std::move(error);
    return wrong;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    // --name=VALUE, or --name VALUE for the options that take one.
    std::string_view value;
    bool has_value = false;
    if (const std::size_t equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
      value = arg.substr(equals + 1);
      arg = arg.substr(0, equals);
      has_value = true;
    }
    const bool takes_value = demo_options && (arg == "--array" || arg == "--seed");
    if (demo_options && arg == "--auto") {
      if (!ReadDelay(has_value ? value : std::string_view(), line.auto_ms))
        return fail(
            Tr("--auto: '{value}' is not a number of seconds from 0.05 to 10", {{"value", value}}));
      continue;
    }
    if (takes_value && !has_value) {
      if (i + 1 == args.size()) return fail(Tr("{option} needs a value", {{"option", arg}}));
      value = args[++i];
      has_value = true;
    }
    if (has_value && !takes_value)
      return fail(Tr("unknown option '{option}'", {{"option", args[i]}}));
    if (arg == "--help" || arg == "-h") {
      line.action = CommandLine::Action::kHelp;
    } else if (arg == "--version") {
      if (line.action != CommandLine::Action::kHelp) line.action = CommandLine::Action::kVersion;
    } else if (bool CommandLine::*flag = demo_options ? FlagOf(arg) : nullptr) {
      line.*flag = true;
    } else if (takes_value && arg == "--array") {
      if (!ReadList(value, line.array, line.error)) return fail(line.error);
    } else if (takes_value && arg == "--seed") {
      if (!WholeNumber(value, line.seed))
        return fail(
            Tr("--seed: '{value}' is not a whole number from 0 to 4294967295", {{"value", value}}));
      line.seeded = true;
    } else {
      return fail(arg.starts_with("-")
                      ? Tr("unknown option '{option}'", {{"option", arg}})
                      : Tr("unexpected argument '{argument}'", {{"argument", arg}}));
    }
  }
  if (const std::string_view conflict = ConflictIn(line); !conflict.empty())
    return fail(std::string(conflict));
  return line;
}

std::vector<int32_t> RandomNumbers(uint32_t seed, std::size_t count) {
  // The engine's numbers are the same everywhere; a distribution's need not be.
  std::mt19937 engine(seed);
  std::vector<int32_t> numbers;
  for (std::size_t k = 0; k < count; ++k) numbers.push_back(static_cast<int32_t>(engine() % 100));
  return numbers;
}

void PrintOut(std::string_view text) {
  const std::string converted = runtime::ForOutput(text);
  if (const int error = runtime::WriteAll(1, converted); error != 0) runtime::OutputLost(error);
}

int AnswerCommandLine(const CommandLine& line, std::string_view program, std::string_view help) {
  switch (line.action) {
    case CommandLine::Action::kRun: return -1;
    case CommandLine::Action::kHelp: PrintOut(Tr(help, {{"program", program}})); return 0;
    case CommandLine::Action::kVersion:
      PrintOut(std::string(program) + " " + PROJECT_VERSION + "\n");
      return 0;
    case CommandLine::Action::kError: break;
  }
  const std::string said =
      Tr("{program}: {error}; see {program} --help", {{"program", program}, {"error", line.error}});
  runtime::WriteAll(2, runtime::ForOutput(said + "\n"));
  return kUsageStatus;
}

std::string_view NameRunBy(const char* argv0, std::string_view fallback) {
  std::string_view name = argv0 != nullptr ? argv0 : "";
  name.remove_prefix(std::min(name.size(), name.find_last_of("/\\") + 1));
  if (name.size() > 4) {
    std::string suffix(name.substr(name.size() - 4));
    for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (suffix == ".exe") name.remove_suffix(4);
  }
  return name.empty() ? fallback : name;
}

CommandLine TakeCommandLine(int argc, char** argv, std::string_view fallback, std::string_view help,
                            bool demo_options) {
  runtime::SetProgramName(NameRunBy(argc > 0 ? argv[0] : nullptr, fallback));
  const std::string_view program = runtime::ProgramName();
  runtime::SetLanguage(runtime::UserLanguage());
  CommandLine line =
      ParseCommandLine(std::vector<std::string_view>(argv + 1, argv + argc), demo_options);
  if (const int status = AnswerCommandLine(line, program, help); status >= 0) std::exit(status);
  return line;
}

}  // namespace visualizer
