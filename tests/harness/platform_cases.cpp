#include "platform_cases.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace e2e {
namespace {

// The words of LINE; a word in double quotes may hold blanks.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  for (std::size_t at = 0; at < line.size();) {
    if (line[at] == ' ') {
      ++at;
    } else if (line[at] == '"') {
      const std::size_t close = line.find('"', at + 1);
      words.push_back(line.substr(at + 1, close - at - 1));
      at = close == std::string::npos ? line.size() : close + 1;
    } else {
      const std::size_t end = std::min(line.find(' ', at), line.size());
      words.push_back(line.substr(at, end - at));
      at = end;
    }
  }
  return words;
}

// The whole screen as a person sees it, a row a line: its text, then each cell's colour.
std::vector<std::string> Picture(CaseDriver& driver) {
  constexpr int kRows = 25, kColumns = 80;
  std::vector<std::string> rows;
  for (int row = 1; row <= kRows; ++row) {
    std::string line = driver.VisibleRow(row) + " |";
    for (int column = 1; column <= kColumns; ++column) {
      const std::string colour = driver.Colour(column, row);
      line += colour == "grey" ? "g" : colour == "hidden" ? "h" : "[" + colour + "]";
    }
    rows.push_back(line);
  }
  return rows;
}

// A row: R, or c-N for N rows above the cursor's.
int RowOf(const std::string& word, CaseDriver& driver) {
  if (word.rfind("c-", 0) == 0) return driver.CursorRow() - std::stoi(word.substr(2));
  return std::stoi(word);
}

}  // namespace

std::vector<std::string> PlatformCase::Keys() const {
  std::vector<std::string> keys;
  auto add = [&keys](const std::string& key) {
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
  };
  for (const CaseStep& step : steps) {
    if ((step.verb == "press" || step.verb == "end") && !step.args.empty()) add(step.args[0]);
    if (step.verb == "type" && !step.args.empty())
      for (char ch : step.args[0]) add(std::string(1, ch));
  }
  return keys;
}

std::string PlatformCase::TestName(std::size_t index) const {
  std::string test_name = std::to_string(index + 1) + "_";
  for (char ch : name) test_name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return test_name;
}

std::vector<CaseLine> ReadCaseLines(const std::string& path) {
  std::ifstream file(path);
  EXPECT_TRUE(file.good()) << "no case file at " << path;
  std::vector<CaseLine> lines;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    std::vector<std::string> words = Words(line);
    if (!words.empty() && !line.starts_with('#')) lines.push_back({number, line, words});
  }
  return lines;
}

std::vector<PlatformCase> ReadPlatformCases(const std::string& path) {
  std::map<std::string, std::pair<int, int>> grammar;  // verb: least and most words after it
  std::vector<PlatformCase> cases;
  for (auto [number, text, words] : ReadCaseLines(path)) {
    const std::string verb = words[0];
    words.erase(words.begin());
    const auto rule = grammar.find(verb);
    const int count = static_cast<int>(words.size());
    const std::string where = "platform.cases:" + std::to_string(number) + ": ";
    if (verb == "grammar") {
      for (std::size_t i = 0; i + 1 < words.size(); i += 2) {
        int least = 0, most = INT32_MAX;  // "N", "N-M" or "N-"
        const bool one = std::sscanf(words[i + 1].c_str(), "%d-%d", &least, &most) == 1;
        grammar[words[i]] = {least, one && words[i + 1].back() != '-' ? least : most};
      }
    } else if (rule == grammar.end()) {
      ADD_FAILURE() << where << "no such step: " << verb;
    } else if (count < rule->second.first || count > rule->second.second) {
      ADD_FAILURE() << where << verb << " with " << count << " words";
    } else if (verb == "case") {
      cases.push_back(PlatformCase{text.substr(5), "", {}, "", {}});
    } else if (cases.empty()) {
      ADD_FAILURE() << where << "a step before the first case";
    } else if (verb == "program") {
      cases.back().program = words[0];
      cases.back().args.assign(words.begin() + 1, words.end());
    } else if (verb == "language") {
      cases.back().language = words[0];
    } else {
      cases.back().steps.push_back(CaseStep{number, verb, words});
    }
  }
  return cases;
}

void RunPlatformCase(const PlatformCase& c, CaseDriver& driver) {
  ASSERT_TRUE(driver.Start(c)) << c.program << " does not wait for a key";
  std::map<std::string, std::vector<std::string>> kept;  // screens by name
  for (const CaseStep& step : c.steps) {
    SCOPED_TRACE("platform.cases:" + std::to_string(step.line));
    const std::vector<std::string>& args = step.args;
    if (step.verb == "press") {
      const int times = args.size() > 1 ? std::stoi(args[1].substr(1)) : 1;
      for (int n = 0; n < times; ++n) ASSERT_TRUE(driver.Press(args[0])) << args[0] << " #" << n;
    } else if (step.verb == "type") {
      for (char ch : args[0]) ASSERT_TRUE(driver.Press(std::string(1, ch))) << ch;
    } else if (step.verb == "end") {
      EXPECT_EQ(driver.End(args[0]), std::stoi(args[1]));
    } else if (step.verb == "row") {
      EXPECT_EQ(driver.VisibleRow(RowOf(args[0], driver)), args[1]);
    } else if (step.verb == "colour") {
      EXPECT_EQ(driver.Colour(std::stoi(args[1]), RowOf(args[0], driver)), args[2]);
    } else if (step.verb == "keep") {
      kept[args[0]] = Picture(driver);
    } else if (step.verb == "same") {
      ASSERT_EQ(kept.count(args[0]), 1u) << "nothing kept as " << args[0];
      const std::vector<std::string> now = Picture(driver);
      for (std::size_t row = 0; row < now.size(); ++row)
        EXPECT_EQ(now[row], kept[args[0]][row]) << "row " << row + 1;
    } else if (step.verb == "cursor") {
      EXPECT_EQ(driver.CursorRow(), std::stoi(args[0]));
      EXPECT_EQ(driver.CursorColumn(), std::stoi(args[1]));
    } else {
      FAIL() << "a step this driver does not take: " << step.verb;
    }
  }
}

}  // namespace e2e
