#include "runtime/posix/locale.hpp"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "runtime/platform.hpp"
#include "runtime/words.hpp"

namespace runtime {
namespace {

bool IsUtf8(const std::string& codeset) {
  return codeset.empty() || codeset == "UTF-8";
}

// TEXT (UTF-8) in CODESET; false when iconv cannot convert all of it.
bool Convert(const std::string& codeset, std::string_view text, std::string& converted) {
  iconv_t cd = iconv_open(codeset.c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  converted.assign(text.size() * 4 + 8, '\0');
  char* from = const_cast<char*>(text.data());
  std::size_t from_left = text.size();
  char* to = converted.data();
  std::size_t to_left = converted.size();
  const bool done = iconv(cd, &from, &from_left, &to, &to_left) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  converted.resize(converted.size() - to_left);
  return done;
}

const std::string& Codeset() {
  static const std::string codeset = LocaleCodeset();
  return codeset;
}

}  // namespace

std::string LocaleCodeset() {
  // A locale named with the UTF-8 character set has it: no need to load it. One that is not
  // installed has the character set its name says, or, naming none, is taken as UTF-8.
  const char* name = nullptr;
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"})
    if (name == nullptr || *name == '\0') name = std::getenv(variable);
  std::string codeset = name != nullptr && std::strchr(name, '.') ? std::strchr(name, '.') + 1 : "";
  codeset = codeset.substr(0, codeset.find('@'));
  std::erase(codeset, '-');
  for (char& c : codeset) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (codeset == "UTF8") return "UTF-8";
  locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return codeset;
  codeset = nl_langinfo_l(CODESET, locale);
  freelocale(locale);
  return codeset;
}

bool HasCyrillic(const std::string& codeset) {
  std::string converted;
  return IsUtf8(codeset) || Convert(codeset, "\u0430\u044f\u0410\u042f\u0451", converted);
}

Language UserLanguage() {
  const Language asked = LanguageAsked(std::getenv("LANGUAGE"), std::getenv("LC_ALL"),
                                       std::getenv("LC_MESSAGES"), std::getenv("LANG"));
  // Russian only where it can be shown, not as question marks.
  return asked == Language::kRussian && !HasCyrillic(Codeset()) ? Language::kEnglish : asked;
}

std::string ForOutput(std::string_view text) {
  std::string converted;
  if (IsUtf8(Codeset()) || !Convert(Codeset(), text, converted)) return std::string(text);
  return converted;
}

}  // namespace runtime
