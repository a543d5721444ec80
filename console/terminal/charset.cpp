#include "console/terminal/charset.hpp"

#include <iconv.h>

#include <cstring>

namespace console::terminal {
namespace {

// What the PC's character generator shows for codes 0 to 31, and for 127.
constexpr char32_t kControlGlyphs[32] = {
    U' ',      U'\u263A', U'\u263B', U'\u2665', U'\u2666', U'\u2663', U'\u2660', U'\u2022',
    U'\u25D8', U'\u25CB', U'\u25D9', U'\u2642', U'\u2640', U'\u266A', U'\u266B', U'\u263C',
    U'\u25BA', U'\u25C4', U'\u2195', U'\u203C', U'\u00B6', U'\u00A7', U'\u25AC', U'\u21A8',
    U'\u2191', U'\u2193', U'\u2192', U'\u2190', U'\u221F', U'\u2194', U'\u25B2', U'\u25BC'};
constexpr char32_t kGlyph127 = U'\u2302';

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

char32_t DecodeUtf8(const std::string& bytes) {
  if (bytes.empty()) return 0;
  const auto lead = static_cast<unsigned char>(bytes[0]);
  int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
  char32_t value = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int i = 1; i <= extra && i < static_cast<int>(bytes.size()); ++i)
    value = (value << 6) | (static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]) & 0x3F);
  return value;
}

std::array<char32_t, 128> Cp866HighUnicode() {
  std::array<char32_t, 128> table{};
  iconv_t cd = iconv_open("UTF-8", "CP866");
  if (cd == reinterpret_cast<iconv_t>(-1)) return table;
  for (int i = 0; i < 128; ++i) {
    std::string utf8;
    if (Convert(cd, std::string(1, static_cast<char>(0x80 + i)), utf8))
      table[static_cast<std::size_t>(i)] = DecodeUtf8(utf8);
  }
  iconv_close(cd);
  return table;
}

char32_t UnicodeOf(int code, const std::array<char32_t, 128>& high) {
  if (code < 32) return kControlGlyphs[code];
  if (code == 127) return kGlyph127;
  if (code < 128) return static_cast<char32_t>(code);
  return high[static_cast<std::size_t>(code - 128)];
}

}  // namespace

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string ChooseCharset(const std::string& codeset, bool shows_cyrillic) {
  if (codeset.empty() || IsUtf8Name(codeset) || !shows_cyrillic) return "UTF-8";
  return codeset;
}

TerminalCharset LoadCharset(const std::string& codeset) {
  TerminalCharset charset;
  charset.cp866_high = Cp866HighUnicode();

  // Can the locale's character set show the Cyrillic letters of code page 866?
  bool shows_cyrillic = false;
  iconv_t to_locale = codeset.empty() || IsUtf8Name(codeset) ? reinterpret_cast<iconv_t>(-1)
                                                             : iconv_open(codeset.c_str(), "UTF-8");
  if (to_locale != reinterpret_cast<iconv_t>(-1)) {
    shows_cyrillic = true;
    for (int code = 0x80; code <= 0xF1 && shows_cyrillic; ++code) {
      if (code >= 0xB0 && code < 0xE0) continue;  // box drawing, not letters
      std::string utf8, converted;
      AppendUtf8(UnicodeOf(code, charset.cp866_high), utf8);
      shows_cyrillic = Convert(to_locale, utf8, converted);
    }
  }
  charset.name = ChooseCharset(codeset, shows_cyrillic);
  charset.utf8 = charset.name == "UTF-8";

  for (int code = 0; code < 256; ++code) {
    std::string utf8;
    AppendUtf8(UnicodeOf(code, charset.cp866_high), utf8);
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

}  // namespace console::terminal
