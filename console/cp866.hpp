// Code page 866 as a PC shows it: the Unicode character of each code, the glyphs of the
// control codes included (a smiling face for 1, a house for 127), and UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace console {

// The Unicode characters of the codes 0x80 to 0xFF, as the platform's conversion gives them.
using Cp866High = std::array<char32_t, 128>;

// The character the PC shows for CODE.
char32_t Cp866Glyph(uint8_t code, const Cp866High& high);

// The code page 866 code of a Unicode character; -1 when that code page lacks it.
int ToCp866(char32_t code_point, const Cp866High& high);

// Appends the UTF-8 form of CODE_POINT to OUT.
void AppendUtf8(char32_t code_point, std::string& out);

// The first character of UTF-8 BYTES; 0 when there is none.
char32_t DecodeUtf8(const std::string& bytes);

// UTF-8 TEXT in code page 866, as a program's words are written to the console: ASCII as
// it is, the Russian letters by the code page's fixed places, anything else as '?'.
std::string Utf8ToCp866(std::string_view text);

// The UTF-8 glyph of every code.
std::array<std::string, 256> Utf8Glyphs(const Cp866High& high);

}  // namespace console
