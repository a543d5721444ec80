#include <windows.h>

#include "runtime/platform.hpp"
#include "runtime/words.hpp"

namespace runtime {

Language UserLanguage() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN ? Language::kRussian
                                                                   : Language::kEnglish;
}

// Standard output and error take UTF-8: a console's is written as UTF-16 (WriteAll), a
// file or a pipe gets the same bytes as on POSIX.
std::string ForOutput(std::string_view text) {
  return std::string(text);
}

}  // namespace runtime
