#include "console/posix/charset.hpp"

#include <iconv.h>

#include <cstring>

#include "console/cp866.hpp"

namespace console::posix {
namespace {

bool IsUtf8Name(const std::string& name) {
  std::string folded;
  for (char c : name)
    if (c != '-' && c != '_')
      folded.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c));
  return folded == "UTF8";
}

// Converts IN with CD; false when any of it does not convert.
bool Convert(iconv_t cd, const std::string& in, std::string& out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char buffer[16];
  char* from = const_cast<char*>(in.data());
  std::size_t from_left = in.size();
  char* to = buffer;
  std::size_t to_left = sizeof buffer;
  if (iconv(cd, &from, &from_left, &to, &to_left) == static_cast<std::size_t>(-1)) return false;
  if (iconv(cd, nullptr, nullptr, &to, &to_left) == static_cast<std::size_t>(-1)) return false;
  out.assign(buffer, static_cast<std::size_t>(to - buffer));
  return true;
}

// Code page 866's upper half, from iconv at build time (tools/cp866-table).
constexpr Cp866High kCp866High =
#include "cp866_high.inc"
    ;

}  // namespace

std::string ChooseCharset(const std::string& codeset, bool shows_cyrillic) {
  if (codeset.empty() || IsUtf8Name(codeset) || !shows_cyrillic) return "UTF-8";
  return codeset;
}

TerminalCharset LoadCharset(const std::string& codeset) {
  TerminalCharset charset;
  charset.cp866_high = kCp866High;

  // Can the locale's character set show the Cyrillic letters of code page 866?
  bool shows_cyrillic = false;
  iconv_t to_locale = codeset.empty() || IsUtf8Name(codeset) ? reinterpret_cast<iconv_t>(-1)
                                                             : iconv_open(codeset.c_str(), "UTF-8");
  if (to_locale != reinterpret_cast<iconv_t>(-1)) {
    shows_cyrillic = true;
    for (int code = 0x80; code <= 0xF1 && shows_cyrillic; ++code) {
      if (code >= 0xB0 && code < 0xE0) continue;  // box drawing, not letters
      std::string utf8, converted;
      AppendUtf8(Cp866Glyph(static_cast<uint8_t>(code), charset.cp866_high), utf8);
      shows_cyrillic = Convert(to_locale, utf8, converted);
    }
  }
  charset.name = ChooseCharset(codeset, shows_cyrillic);
  charset.utf8 = charset.name == "UTF-8";

  for (int code = 0; code < 256; ++code) {
    std::string utf8;
    AppendUtf8(Cp866Glyph(static_cast<uint8_t>(code), charset.cp866_high), utf8);
    std::string& glyph = charset.glyphs[static_cast<std::size_t>(code)];
    if (charset.utf8) {
      glyph = utf8;
    } else if (!Convert(to_locale, utf8, glyph)) {
      glyph.assign(1, '?');
    }
  }
  if (!charset.utf8) {
    iconv_t from_locale = iconv_open("UTF-8", charset.name.c_str());
    if (from_locale != reinterpret_cast<iconv_t>(-1)) {
      for (int byte = 0x80; byte < 0x100; ++byte) {
        std::string utf8;
        if (Convert(from_locale, std::string(1, static_cast<char>(byte)), utf8))
          charset.charset_high[static_cast<std::size_t>(byte - 0x80)] = DecodeUtf8(utf8);
      }
      iconv_close(from_locale);
    }
  }
  if (to_locale != reinterpret_cast<iconv_t>(-1)) iconv_close(to_locale);
  return charset;
}

}  // namespace console::posix
