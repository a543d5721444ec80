#include "console/cp866.hpp"

namespace console {
namespace {

// What the PC's character generator shows for codes 0 to 31, and for 127.
constexpr char32_t kControlGlyphs[32] = {
    U' ',      U'\u263A', U'\u263B', U'\u2665', U'\u2666', U'\u2663', U'\u2660', U'\u2022',
    U'\u25D8', U'\u25CB', U'\u25D9', U'\u2642', U'\u2640', U'\u266A', U'\u266B', U'\u263C',
    U'\u25BA', U'\u25C4', U'\u2195', U'\u203C', U'\u00B6', U'\u00A7', U'\u25AC', U'\u21A8',
    U'\u2191', U'\u2193', U'\u2192', U'\u2190', U'\u221F', U'\u2194', U'\u25B2', U'\u25BC'};
constexpr char32_t kGlyph127 = U'\u2302';

}  // namespace

char32_t Cp866Glyph(uint8_t code, const Cp866High& high) {
  if (code < 32) return kControlGlyphs[code];
  if (code == 127) return kGlyph127;
  if (code < 128) return static_cast<char32_t>(code);
  return high[static_cast<std::size_t>(code - 128)];
}

int ToCp866(char32_t code_point, const Cp866High& high) {
  if (code_point < 0x80) return static_cast<int>(code_point);
  for (std::size_t i = 0; i < high.size(); ++i)
    if (high[i] == code_point) return static_cast<int>(0x80 + i);
  return -1;
}

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

char32_t DecodeUtf8(const std::string& bytes) {
  if (bytes.empty()) return 0;
  const auto lead = static_cast<unsigned char>(bytes[0]);
  const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
  char32_t value = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int i = 1; i <= extra && i < static_cast<int>(bytes.size()); ++i)
    value = (value << 6) | (static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]) & 0x3F);
  return value;
}

std::string Utf8ToCp866(std::string_view text) {
  std::string cp866;
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const char32_t c = DecodeUtf8(std::string(text.substr(at, length)));
    at += length;
    if (c < 0x80)
      cp866.push_back(static_cast<char>(c));
    else if (c >= U'\u0410' && c <= U'\u043F')  // А to п
      cp866.push_back(static_cast<char>(0x80 + (c - U'\u0410')));
    else if (c >= U'\u0440' && c <= U'\u044F')  // р to я
      cp866.push_back(static_cast<char>(0xE0 + (c - U'\u0440')));
    else if (c == U'\u0401' || c == U'\u0451')  // Ё, ё
      cp866.push_back(static_cast<char>(c == U'\u0401' ? 0xF0 : 0xF1));
    else
      cp866.push_back('?');
  }
  return cp866;
}

std::array<std::string, 256> Utf8Glyphs(const Cp866High& high) {
  std::array<std::string, 256> glyphs;
  for (std::size_t code = 0; code < glyphs.size(); ++code)
    AppendUtf8(Cp866Glyph(static_cast<uint8_t>(code), high), glyphs[code]);
  return glyphs;
}

}  // namespace console
