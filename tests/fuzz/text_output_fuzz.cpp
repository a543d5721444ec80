// Drives text output and the line editor with arbitrary text, colours, cursor moves and
// key events, on a console that is both the in-memory one and the terminal's screen
// writer. Checks that the bytes for the terminal carry no control character of their own
// (only escape sequences and the cursor motions CR, LF and BS), and that played into a
// real terminal emulator they show exactly the in-memory screen and cursor.
//
// Input: a sequence of operations, each an opcode byte and its arguments:
//   0 n text...      write n & 31 bytes of text
//   1 c              TEXTCOLOR(c)
//   2 x y            GOTOXY(x, y)
//   3 n keys...      a line read with n & 15 key events of 3 bytes each (scan code 1 to
//                    127, character, flags: bit 0 release, bits 1-3 Shift, left Ctrl,
//                    left Alt, bit 4 enhanced), ended by the end of input
#include <vterm.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "console/memory/memory_console.hpp"
#include "console/posix/charset.hpp"
#include "console/stream/screen_writer.hpp"
#include "console/write_statements.hpp"

namespace {

using namespace console;
using console::stream::Hidden;
using console::stream::kDefaultColours;
using console::stream::ScreenWriter;
using console::stream::Style;
using console::stream::StyleOf;

constexpr int kColumns = 80;
constexpr int kRows = 25;

void Check(bool condition) {
  if (!condition) std::abort();
}

const console::posix::TerminalCharset& Charset() {
  static const auto charset = console::posix::LoadCharset("UTF-8");
  return charset;
}

// The in-memory console, with every cell and scroll also given to a screen writer, as the
// terminal platform does.
class TeeConsole : public MemoryConsole {
 public:
  TeeConsole()
      : MemoryConsole(kColumns, kRows, Rect{0, 0, kColumns - 1, kRows - 1}, kDefaultColours),
        writer_(kColumns, kRows, Charset().glyphs) {
    writer_.AssumeCursor(0, 0);
  }
  void WriteCell(Coord where, uint8_t character, uint16_t attribute) override {
    MemoryConsole::WriteCell(where, character, attribute);
    writer_.PutCell(where.x, where.y, character, attribute);
  }
  void ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                  uint16_t fill_attribute) override {
    MemoryConsole::ScrollRect(source, clip, dest, fill_char, fill_attribute);
    // The layer only ever moves the whole window up by one row here.
    Check(source.top == 1 && dest.y == 0 && clip.left == 0 && clip.right == kColumns - 1);
    writer_.ScrollUp(0, kRows - 1, fill_attribute);
  }
  // What the terminal is sent to show the screen as it is now.
  std::string Flush() {
    std::string bytes = writer_.TakeFrame(cursor(), false);
    return bytes;
  }

 private:
  ScreenWriter writer_;
};

// Only escape sequences and the writer's own cursor motions may carry control bytes.
__attribute__((no_sanitize("coverage"))) void CheckNoStrayControls(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<uint8_t>(bytes[i]);
    if (byte == 0x1B) {
      // A control sequence (CSI ... final) or an escape with one byte (ESC M: up a row).
      Check(i + 1 < bytes.size() && bytes[i + 1] >= 0x30 && bytes[i + 1] <= 0x7E);
      if (bytes[++i] != '[') continue;
      for (++i; i < bytes.size() && bytes[i] >= 0x20 && bytes[i] < 0x40; ++i) {
      }
      Check(i < bytes.size() && bytes[i] >= 0x40 && bytes[i] <= 0x7E);
    } else {
      Check(byte >= 0x20 || byte == '\r' || byte == '\n' || byte == '\b');
      Check(byte != 0x7F);
    }
  }
}

int Ansi(int pc) {
  if (pc < 0) return -1;
  return ((pc & 1) << 2) | (pc & 2) | ((pc & 4) >> 2) | (pc & 8);
}

int ColourIndex(const VTermColor& colour, bool foreground) {
  if (foreground ? VTERM_COLOR_IS_DEFAULT_FG(&colour) : VTERM_COLOR_IS_DEFAULT_BG(&colour))
    return -1;
  return VTERM_COLOR_IS_INDEXED(&colour) ? colour.indexed.idx : -2;
}

// The first code point of each code's glyph, as the emulator keeps it.
const std::array<uint32_t, 256>& GlyphCodePoints() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> points{};
    for (std::size_t code = 0; code < points.size(); ++code) {
      const std::string& glyph = Charset().glyphs[code];
      const auto lead = static_cast<uint8_t>(glyph[0]);
      const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
      uint32_t point = extra == 0 ? lead : lead & (0x3F >> extra);
      for (int k = 1; k <= extra; ++k) point = point << 6 | (static_cast<uint8_t>(glyph[k]) & 0x3F);
      points[code] = point;
    }
    return points;
  }();
  return table;
}

// The harness's own loops stay out of the coverage, so the fuzzer spends itself on the
// layer's branches.
__attribute__((no_sanitize("coverage"))) void CheckSameScreen(VTerm* vterm, TeeConsole& console) {
  VTermScreen* screen = vterm_obtain_screen(vterm);
  const auto& glyphs = GlyphCodePoints();
  for (int y = 0; y < kRows; ++y) {
    for (int x = 0; x < kColumns; ++x) {
      const Cell& want = console.At(x, y);
      VTermScreenCell got{};
      vterm_screen_get_cell(screen, VTermPos{y, x}, &got);
      // A hidden cell is a blank.
      const uint8_t shown = Hidden(want.attribute) ? ' ' : want.character;
      Check((got.chars[0] == 0 ? ' ' : got.chars[0]) == glyphs[shown]);
      const Style style = StyleOf(want.attribute);
      Check(ColourIndex(got.bg, false) == Ansi(style.background));
      if (shown != ' ') Check(ColourIndex(got.fg, true) == Ansi(style.foreground));
    }
  }
  VTermPos cursor{};
  vterm_state_get_cursorpos(vterm_obtain_state(vterm), &cursor);
  Check(cursor.col == console.cursor().x && cursor.row == console.cursor().y);
}

KeyEvent KeyOf(const uint8_t* bytes) {
  const uint8_t flags = bytes[2];
  uint32_t state = 0;
  if (flags & 2) state |= kShiftPressed;
  if (flags & 4) state |= kLeftCtrlPressed;
  if (flags & 8) state |= kLeftAltPressed;
  if (flags & 16) state |= kEnhancedKey;
  // Scan code 0 would make an extended key without a code, which waits for the next key as
  // its code: at the end of input that ends the program, as READKEY does.
  const auto scan = static_cast<uint16_t>(1 + bytes[0] % 127);
  return MakeKey(scan, bytes[1], state, 0, (flags & 1) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static VTerm* vterm = [] {
    VTerm* terminal = vterm_new(kRows, kColumns);
    vterm_set_utf8(terminal, 1);
    vterm_screen_enable_altscreen(vterm_obtain_screen(terminal), 0);
    return terminal;
  }();
  vterm_screen_reset(vterm_obtain_screen(vterm), 1);

  TeeConsole console;
  SCANCODE = 0;
  SPECIALKEY = false;
  INOUTRES = 0;
  Init(console);
  std::size_t i = 0;
  while (i < size) {
    const uint8_t op = data[i++] & 3;
    if (op == 0 && i < size) {
      const std::size_t wanted = data[i++] & 31;
      const std::size_t length = std::min(wanted, size - i);
      Write({std::string_view(reinterpret_cast<const char*>(data + i), length)});
      i += length;
    } else if (op == 1 && i < size) {
      TEXTCOLOR(data[i++]);
    } else if (op == 2 && i + 1 < size) {
      GOTOXY(data[i], data[i + 1]);
      i += 2;
    } else if (op == 3 && i < size) {
      std::size_t keys = data[i++] & 15;
      for (; keys > 0 && i + 3 <= size; --keys, i += 3) console.PushKey(KeyOf(data + i));
      console.EndInput();
      ReadLn();
    } else {
      break;
    }
    // What goes out at each wait for a key.
    const std::string bytes = console.Flush();
    CheckNoStrayControls(bytes);
    vterm_input_write(vterm, bytes.data(), bytes.size());
  }
  CheckSameScreen(vterm, console);
  return 0;
}
