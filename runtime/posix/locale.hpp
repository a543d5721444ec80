// The user's locale on a POSIX system: its character set, which the program's words are
// written in (ForOutput) and which decides whether they can be Russian (UserLanguage).
#pragma once

#include <string>

namespace runtime {

// The character set of the user's locale (LC_CTYPE), as nl_langinfo names it; for a locale
// that is not installed, the one its name says (KOI8R for ru_RU.KOI8-R), else empty.
std::string LocaleCodeset();

// True when CODESET (LocaleCodeset's name; empty is taken as UTF-8) has the Russian letters.
bool HasCyrillic(const std::string& codeset);

}  // namespace runtime
