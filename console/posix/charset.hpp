// Code page 866 on a terminal: which bytes draw each code, and which code each typed
// character is. Conversion goes through iconv; only the glyphs that code page shows for
// its control codes have no iconv equivalent and come from a table here.
#pragma once

#include <array>
#include <string>

#include "console/cp866.hpp"

namespace console::posix {

struct TerminalCharset {
  std::string name;  // the iconv name of the terminal's character set
  bool utf8 = true;
  // Bytes that draw each code page 866 code on the terminal.
  std::array<std::string, 256> glyphs;
  // Unicode of the code page 866 codes 0x80 to 0xFF.
  std::array<char32_t, 128> cp866_high{};
  // Unicode of the terminal's bytes 0x80 to 0xFF when its character set is single-byte.
  std::array<char32_t, 128> charset_high{};
};

// The character set to talk to the terminal in: the locale's CODESET when it can show
// Cyrillic, otherwise UTF-8.
std::string ChooseCharset(const std::string& codeset, bool shows_cyrillic);

// Builds the tables for the locale's CODESET (as nl_langinfo reports it).
TerminalCharset LoadCharset(const std::string& codeset);

}  // namespace console::posix
