#include "console/character_keys.hpp"

namespace console {
namespace {

const std::array<AsciiKey, 128>& AsciiKeys() {
  static const std::array<AsciiKey, 128> table = [] {
    // Each row: scan code, then the character without and with Shift.
    static constexpr struct {
      uint8_t scan;
      char plain, shifted;
    } kRows[] = {
        {2, '1', '!'},  {3, '2', '@'},   {4, '3', '#'},  {5, '4', '$'},  {6, '5', '%'},
        {7, '6', '^'},  {8, '7', '&'},   {9, '8', '*'},  {10, '9', '('}, {11, '0', ')'},
        {12, '-', '_'}, {13, '=', '+'},  {16, 'q', 'Q'}, {17, 'w', 'W'}, {18, 'e', 'E'},
        {19, 'r', 'R'}, {20, 't', 'T'},  {21, 'y', 'Y'}, {22, 'u', 'U'}, {23, 'i', 'I'},
        {24, 'o', 'O'}, {25, 'p', 'P'},  {26, '[', '{'}, {27, ']', '}'}, {30, 'a', 'A'},
        {31, 's', 'S'}, {32, 'd', 'D'},  {33, 'f', 'F'}, {34, 'g', 'G'}, {35, 'h', 'H'},
        {36, 'j', 'J'}, {37, 'k', 'K'},  {38, 'l', 'L'}, {39, ';', ':'}, {40, '\'', '"'},
        {41, '`', '~'}, {43, '\\', '|'}, {44, 'z', 'Z'}, {45, 'x', 'X'}, {46, 'c', 'C'},
        {47, 'v', 'V'}, {48, 'b', 'B'},  {49, 'n', 'N'}, {50, 'm', 'M'}, {51, ',', '<'},
        {52, '.', '>'}, {53, '/', '?'},  {57, ' ', ' '},
    };
    std::array<AsciiKey, 128> keys{};
    for (const auto& row : kRows) {
      keys[static_cast<uint8_t>(row.shifted)] = AsciiKey{row.scan, true};
      keys[static_cast<uint8_t>(row.plain)] = AsciiKey{row.scan, false};
    }
    return keys;
  }();
  return table;
}

}  // namespace

AsciiKey KeyOfAscii(uint8_t ch) {
  return AsciiKeys()[ch & 0x7F];
}

char UsKeyOfCyrillic(char32_t code_point) {
  static constexpr char32_t kLower[] = U"йцукенгшщзхъфывапролджэячсмитьбюё";
  static constexpr char32_t kUpper[] = U"ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮЁ";
  static constexpr char kKeys[] = "qwertyuiop[]asdfghjkl;'zxcvbnm,.`";
  for (std::size_t i = 0; i + 1 < sizeof kKeys; ++i)
    if (kLower[i] == code_point || kUpper[i] == code_point) return kKeys[i];
  return 0;
}

uint8_t ControlCharacter(uint8_t ch) {
  const uint8_t lower = static_cast<uint8_t>(ch | 0x20);
  if (lower >= 'a' && lower <= 'z') return static_cast<uint8_t>(lower - 'a' + 1);
  if (ch >= '[' && ch <= ']') return static_cast<uint8_t>(ch - '@');
  return ch;
}

uint16_t VirtualKeyOfAscii(uint8_t ch) {
  if (ch >= 'a' && ch <= 'z') return static_cast<uint16_t>(ch - 'a' + 'A');
  if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == ' ') return ch;
  return 0;
}

std::optional<KeyEvent> ControlKeyOfCode(char32_t code, uint32_t state, bool down) {
  for (const NamedKey& named : {keys::kEscape, keys::kEnter, keys::kTab, keys::kBackspace}) {
    if (code == named.character || (named.character == 8 && code == 127))
      return MakeKey(named.scan, named.character, state, named.virtual_key, down);
  }
  return std::nullopt;
}

KeyEvent CharacterKeyEvent(uint8_t cp866, char us_key, uint32_t state, uint16_t virtual_key) {
  uint8_t character = cp866;
  if (cp866 < 0x80 && (state & kCtrlPressed) != 0) character = ControlCharacter(cp866);
  return MakeKey(KeyOfAscii(static_cast<uint8_t>(us_key)).scan, character, state, virtual_key);
}

}  // namespace console
