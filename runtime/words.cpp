#include "runtime/words.hpp"

#include <cstring>
#include <optional>

#include "runtime/platform.hpp"

namespace runtime {
namespace {

Language Spoken = Language::kEnglish;

// The catalogue's strings, found by the tables at the head of a .mo file. Bytes that are no
// catalogue, or not all of one (the page's comes over the network), give no words: a table
// or a string that would lie beyond the end is not read.
class Catalogue {
 public:
  explicit Catalogue(std::string_view bytes) : bytes_(bytes) {
    if (bytes_.size() < kHeader) return;
    const uint32_t magic = Word(0);
    if (magic != kMagic && magic != __builtin_bswap32(kMagic)) return;
    swapped_ = magic != kMagic;
    const uint32_t count = Word(8);
    originals_ = Word(12);
    translations_ = Word(16);
    const std::size_t tables = static_cast<std::size_t>(count) * kEntry;
    if (tables > bytes_.size() || originals_ > bytes_.size() - tables ||
        translations_ > bytes_.size() - tables)
      return;
    count_ = count;
  }

  // The translation of MSGID (of its plural's singular), its forms apart by NULs; empty
  // when there is none.
  std::string_view Find(std::string_view msgid) const {
    uint32_t low = 0;
    uint32_t high = count_;
    while (low < high) {
      const uint32_t middle = low + (high - low) / 2;
      // An original is its msgid, then for a plural a NUL and the plural.
      const std::string_view original = String(originals_, middle);
      const int order = original.substr(0, original.find('\0')).compare(msgid);
      if (order == 0) return String(translations_, middle);
      if (order < 0)
        low = middle + 1;
      else
        high = middle;
    }
    return {};
  }

 private:
  static constexpr uint32_t kMagic = 0x950412de;
  static constexpr std::size_t kHeader = 20;  // magic, revision, count, the two tables
  static constexpr std::size_t kEntry = 8;    // a string's length and where it starts

  uint32_t Word(std::size_t at) const {
    uint32_t word = 0;
    std::memcpy(&word, bytes_.data() + at, sizeof word);
    return swapped_ ? __builtin_bswap32(word) : word;
  }
  std::string_view String(uint32_t table, uint32_t index) const {
    const uint32_t length = Word(table + kEntry * index);
    const uint32_t at = Word(table + kEntry * index + 4);
    if (at > bytes_.size() || length > bytes_.size() - at) return {};
    return bytes_.substr(at, length);
  }

  std::string_view bytes_;
  bool swapped_ = false;
  uint32_t count_ = 0;
  uint32_t originals_ = 0;
  uint32_t translations_ = 0;
};

// The catalogue looked up: the program's own, unless another was given.
std::optional<Catalogue> Given;

const Catalogue& Russian() {
  static const Catalogue own(RussianCatalogue());
  return Given ? *Given : own;
}

// The first language of a locale's name, or of LANGUAGE's list, that the program has.
bool Names(std::string_view name, std::string_view language) {
  return name.substr(0, 2) == language && (name.size() == 2 || name[2] == '_' || name[2] == '.');
}

}  // namespace

void SetCatalogue(std::string_view bytes) {
  Given.emplace(bytes);
}

void SetLanguage(Language language) {
  Spoken = language;
}

Language CurrentLanguage() {
  return Spoken;
}

Language LanguageAsked(const char* language, const char* lc_all, const char* lc_messages,
                       const char* lang) {
  std::string_view locale;
  for (const char* name : {lc_all, lc_messages, lang})
    if (locale.empty() && name != nullptr) locale = name;
  // gettext leaves LANGUAGE aside in the C locale, whose messages are the program's own.
  const bool c_locale =
      locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.");
  if (!c_locale && language != nullptr) {
    std::string_view list = language;
    while (!list.empty()) {
      const std::string_view entry = list.substr(0, list.find(':'));
      if (Names(entry, "ru")) return Language::kRussian;
      if (Names(entry, "en")) return Language::kEnglish;
      list.remove_prefix(std::min(list.size(), entry.size() + 1));
    }
  }
  return Names(locale, "ru") ? Language::kRussian : Language::kEnglish;
}

std::string_view Tr(std::string_view msgid) {
  if (Spoken == Language::kEnglish) return msgid;
  const std::string_view found = Russian().Find(msgid);
  return found.empty() ? msgid : found;
}

int RussianPluralForm(int64_t n) {
  if (n % 10 == 1 && n % 100 != 11) return 0;
  if (n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 10 || n % 100 >= 20)) return 1;
  return 2;
}

std::string_view TrN(std::string_view singular, std::string_view plural, int64_t n) {
  if (Spoken == Language::kEnglish) return n == 1 ? singular : plural;
  std::string_view forms = Russian().Find(singular);
  if (forms.empty()) return n == 1 ? singular : plural;
  for (int form = RussianPluralForm(n); form > 0; --form)
    forms.remove_prefix(std::min(forms.size(), forms.find('\0') + 1));
  return forms.substr(0, forms.find('\0'));
}

std::string Format(std::string_view pattern, std::initializer_list<Arg> args) {
  std::string said;
  while (!pattern.empty()) {
    const std::size_t open = pattern.find('{');
    said.append(pattern.substr(0, open));
    if (open == std::string_view::npos) break;
    const std::size_t close = pattern.find('}', open);
    const std::string_view name = pattern.substr(open + 1, close - open - 1);
    const Arg* value = nullptr;
    for (const Arg& arg : args)
      if (arg.name == name) value = &arg;
    if (value == nullptr)
      said.append(pattern.substr(open, close - open + 1));
    else if (value->is_number)
      said.append(std::to_string(value->number));
    else
      said.append(value->words);
    pattern.remove_prefix(close == std::string_view::npos ? pattern.size() : close + 1);
  }
  return said;
}

std::string Tr(std::string_view msgid, std::initializer_list<Arg> args) {
  return Format(Tr(msgid), args);
}

std::string TrN(std::string_view singular, std::string_view plural, int64_t n,
                std::initializer_list<Arg> args) {
  const std::string counted = Format(TrN(singular, plural, n), {{"n", n}});
  return Format(counted, args);
}

}  // namespace runtime
