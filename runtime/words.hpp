// The program's words in the user's language: English as the code writes them, or their
// Russian from the one catalogue (po/ru.po, compiled into the program at build time). A
// word is looked up by its English, which holds placeholders in braces ("{n} moves"), and
// one that depends on a number has a form for each of its language's plural rules.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace runtime {

enum class Language : uint8_t { kEnglish, kRussian };

// The Russian words from now on come from BYTES (a GNU .mo file, kept by the caller)
// instead of the program's own catalogue; bytes that are no catalogue give none.
void SetCatalogue(std::string_view bytes);
// The language of the words from now on (English until it is set).
void SetLanguage(Language language);
Language CurrentLanguage();

// The language that gettext's variables ask for: LANGUAGE, a list of languages by
// preference, unless the locale is C; then LC_ALL, LC_MESSAGES and LANG, the first that is
// set. Null stands for a variable not set.
Language LanguageAsked(const char* language, const char* lc_all, const char* lc_messages,
                       const char* lang);

// MSGID, marked for the catalogue where it is written and looked up later with Tr.
constexpr std::string_view N_(std::string_view msgid) {
  return msgid;
}

// MSGID in the current language.
std::string_view Tr(std::string_view msgid);
// SINGULAR or PLURAL in the current language, in the form that N takes.
std::string_view TrN(std::string_view singular, std::string_view plural, int64_t n);
// The form of a Russian word for N: 0 (1, 21, 101), 1 (2 to 4, 22 to 24) or 2 (the rest).
int RussianPluralForm(int64_t n);

// A value for a placeholder of Format: its NAME, and a number or words.
struct Arg {
  Arg(std::string_view key, int64_t value) : name(key), number(value), is_number(true) {}
  Arg(std::string_view key, std::string_view value) : name(key), words(value) {}
  Arg(std::string_view key, const char* value) : name(key), words(value) {}
  Arg(std::string_view key, const std::string& value) : name(key), words(value) {}
  std::string_view name;
  std::string_view words;
  int64_t number = 0;
  bool is_number = false;
};
// PATTERN with each {name} in it replaced by the value of that name in ARGS.
std::string Format(std::string_view pattern, std::initializer_list<Arg> args);
// MSGID in the current language, its placeholders filled from ARGS.
std::string Tr(std::string_view msgid, std::initializer_list<Arg> args);
// The form of SINGULAR or PLURAL that N takes, {n} filled with N and the rest from ARGS.
std::string TrN(std::string_view singular, std::string_view plural, int64_t n,
                std::initializer_list<Arg> args);

}  // namespace runtime
