// The words in the user's language: which language is asked for, and what the catalogue
// gives.
#include "runtime/words.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform_cases.hpp"
#include "runtime/platform.hpp"

namespace runtime {
namespace {

TEST(Words, TheLanguageIsGettextsFirstVariableSet) {
  const struct {
    const char *language, *lc_all, *lc_messages, *lang;
    Language expected;
  } cases[] = {
      {nullptr, nullptr, nullptr, "ru_RU.UTF-8", Language::kRussian},
      {nullptr, nullptr, nullptr, "C.UTF-8", Language::kEnglish},
      {nullptr, "en_GB.UTF-8", nullptr, "ru_RU.UTF-8", Language::kEnglish},
      {nullptr, nullptr, "ru_UA.KOI8-U", "en_US.UTF-8", Language::kRussian},
      {"de:ru:en", nullptr, nullptr, "en_US.UTF-8", Language::kRussian},
      {"en:ru", nullptr, nullptr, "ru_RU.UTF-8", Language::kEnglish},
      {"ru", nullptr, nullptr, "C.UTF-8", Language::kEnglish},  // the C locale's own words
      {"ru", nullptr, nullptr, nullptr, Language::kEnglish},
      {nullptr, nullptr, nullptr, "rus", Language::kEnglish},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LanguageAsked(c.language, c.lc_all, c.lc_messages, c.lang), c.expected)
        << (c.language ? c.language : "-") << " " << (c.lc_all ? c.lc_all : "-") << " "
        << (c.lc_messages ? c.lc_messages : "-") << " " << (c.lang ? c.lang : "-");
}

// The words' cases that the page's reader answers too (tests/cases/words.cases).
TEST(Words, EveryLineOfTheWordsCases) {
  const std::string own(RussianCatalogue());
  for (const auto& [number, line, words] : e2e::ReadCaseLines(WORDS_CASES)) {
    SCOPED_TRACE("words.cases:" + std::to_string(number));
    if (words[0] == "catalogue") {
      static const std::map<std::string, std::string> kBytes = {
          {"ru", own},
          {"none", ""},
          {"broken", "not a catalogue at all"},
          {"cut", own.substr(0, 64)}};
      ASSERT_TRUE(kBytes.contains(words[1])) << words[1];
      SetCatalogue(kBytes.at(words[1]));
      SetLanguage(words[1] == "none" ? Language::kEnglish : Language::kRussian);
      continue;
    }
    // VERB MSGID [PLURAL N] [NAME=VALUE]... -> TEXT
    const bool count = words[0] == "count";
    ASSERT_TRUE(count || words[0] == "say") << line;
    ASSERT_GE(words.size(), count ? 6u : 4u) << line;
    ASSERT_EQ(words[words.size() - 2], "->") << line;
    std::vector<std::pair<std::string, std::string>> values;
    for (std::size_t k = count ? 4 : 2; k + 2 < words.size(); ++k) {
      const std::size_t equals = words[k].find('=');
      values.emplace_back(words[k].substr(0, equals), words[k].substr(equals + 1));
    }
    std::string said = count ? std::string(TrN(words[1], words[2], std::stoll(words[3])))
                             : std::string(Tr(words[1]));
    if (count) said = Format(said, {{"n", std::stoll(words[3])}});
    for (const auto& [name, value] : values) said = Format(said, {{name, value}});
    EXPECT_EQ(said, words.back()) << line;
  }
  SetCatalogue(RussianCatalogue());  // the program's own, which outlives the test
  SetLanguage(Language::kEnglish);
}

}  // namespace
}  // namespace runtime
