// The words in the user's language: which language is asked for, and the Russian plurals.
#include "runtime/words.hpp"

#include <gtest/gtest.h>

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

// From the catalogue: 1 сравнение, 2 сравнения, 5 сравнений, 11 сравнений, 21 сравнение.
TEST(Words, RussianPluralsByTheRussianRules) {
  SetLanguage(Language::kRussian);
  const char* const kForms[] = {"сравнение", "сравнения", "сравнений"};
  for (const auto& [n, form] :
       {std::pair{1, 0}, {2, 1}, {5, 2}, {11, 2}, {12, 2}, {21, 0}, {22, 1}, {25, 2}, {111, 2}})
    EXPECT_EQ(TrN("{n} comparison", "{n} comparisons", n, {}),
              std::to_string(n) + " " + kForms[form]);
  EXPECT_EQ(Tr("take up {x} to put it in order", {{"x", -99}}),
            "берём -99, чтобы вставить его на место");
  SetLanguage(Language::kEnglish);
  EXPECT_EQ(TrN("{n} comparison", "{n} comparisons", 21, {}), "21 comparisons");
}

}  // namespace
}  // namespace runtime
