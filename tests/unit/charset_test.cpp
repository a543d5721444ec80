#include "console/posix/charset.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "console/posix/tty.hpp"
#include "runtime/posix/locale.hpp"

namespace console::posix {
namespace {

TEST(Charset, ChoosesTheLocaleOnlyWhenItShowsCyrillic) {
  EXPECT_EQ(ChooseCharset("UTF-8", true), "UTF-8");
  EXPECT_EQ(ChooseCharset("utf8", true), "UTF-8");
  EXPECT_EQ(ChooseCharset("ANSI_X3.4-1968", false), "UTF-8");
  EXPECT_EQ(ChooseCharset("", false), "UTF-8");
  EXPECT_EQ(ChooseCharset("KOI8-R", true), "KOI8-R");
}

TEST(Charset, CLocaleFallsBackToUtf8) {
  const posix::TerminalCharset charset = posix::LoadCharset("ANSI_X3.4-1968");
  EXPECT_TRUE(charset.utf8);
  EXPECT_EQ(charset.glyphs[0x80], "\u0410");
}

TEST(Charset, Utf8GlyphsOfTheWholeCodePage) {
  const posix::TerminalCharset charset = posix::LoadCharset("UTF-8");
  EXPECT_EQ(charset.glyphs[0], " ");
  EXPECT_EQ(charset.glyphs[1], "\u263A");
  EXPECT_EQ(charset.glyphs[9], "\u25CB");
  EXPECT_EQ(charset.glyphs[31], "\u25BC");
  EXPECT_EQ(charset.glyphs['A'], "A");
  EXPECT_EQ(charset.glyphs[127], "\u2302");
  EXPECT_EQ(charset.glyphs[0xE0], "\u0440");  // р
  EXPECT_EQ(charset.glyphs[0xF1], "\u0451");  // ё
  EXPECT_EQ(charset.glyphs[0xDB], "\u2588");  // █
  for (int code = 0; code < 256; ++code) {
    EXPECT_FALSE(charset.glyphs[static_cast<std::size_t>(code)].empty()) << code;
    for (unsigned char byte : charset.glyphs[static_cast<std::size_t>(code)])
      EXPECT_TRUE(byte >= 0x20 && byte != 0x7F) << "a raw control byte for code " << code;
  }
}

TEST(Charset, SingleByteLocaleThatShowsCyrillic) {
  const posix::TerminalCharset charset = posix::LoadCharset("KOI8-R");
  EXPECT_FALSE(charset.utf8);
  EXPECT_EQ(charset.glyphs[0xA4], "\xc4");  // д
  EXPECT_EQ(charset.glyphs[1], "?") << "KOI8-R has no smiling face";
  EXPECT_EQ(charset.charset_high[0xC4 - 0x80], U'\u0434');
}

// The locale's name decides first: LC_ALL, then LC_CTYPE, then LANG, the first one set.
TEST(Charset, TheLocaleNamedFirstGivesTheCodeset) {
  const char* const kNames[] = {"LC_ALL", "LC_CTYPE", "LANG"};
  std::vector<std::optional<std::string>> saved;
  for (const char* name : kNames)
    saved.push_back(std::getenv(name) ? std::optional<std::string>(std::getenv(name))
                                      : std::nullopt);
  setenv("LANG", "ru_RU.KOI8-R", 1);
  setenv("LC_ALL", "de_DE.utf8@euro", 1);
  EXPECT_EQ(runtime::LocaleCodeset(), "UTF-8");
  setenv("LC_ALL", "", 1);
  setenv("LC_CTYPE", "C", 1);
  EXPECT_EQ(runtime::LocaleCodeset(), "ANSI_X3.4-1968") << "C names no codeset: the locale says";
  for (std::size_t i = 0; i < saved.size(); ++i)
    saved[i] ? setenv(kNames[i], saved[i]->c_str(), 1) : unsetenv(kNames[i]);
}

}  // namespace
}  // namespace console::posix
