// What the screen writer sends, played into a real terminal emulator, shows exactly the
// cells that were drawn: characters, colours, and the cursor where it was put, however
// the cells were regrouped by colour on the way.
#include <gtest/gtest.h>

#include <random>

#include "console/posix/charset.hpp"
#include "console/stream/screen_writer.hpp"
#include "pty_terminal.hpp"

namespace e2e {
namespace {

using console::stream::ScreenWriter;

constexpr int kColumns = 80, kRows = 25;

// The attributes drawn, and the palette indices the terminal shows them in (-1: its own
// default colour).
struct Colours {
  uint16_t attribute;
  int foreground;
  int background;
};
constexpr Colours kColours[] = {
    {0x07, -1, -1},  // light grey: the terminal's own foreground
    {0x0C, 9, -1},   // light red
    {0x0A, 10, -1},  // light green
    {0x00, -1, -1},  // black, hidden: a blank
    {0x87, -1, -1},  // the terminal's defaults
    {0x17, -1, 4},   // light grey on blue
};

struct ModelCell {
  uint8_t code = ' ';
  const Colours* colours = &kColours[4];
};

TEST(ScreenWriterInAnEmulator, RandomDrawingsShowExactly) {
  const auto charset = console::posix::LoadCharset("UTF-8");
  std::mt19937 random(20261207);
  const uint8_t codes[] = {' ', ' ', ' ', '0', '4', '9', 'a', 'z', 0xA4, 7};
  // Light grey and black twice as often as the others.
  const int picks[] = {0, 0, 1, 2, 3, 3, 4, 5};
  for (int round = 0; round < 20; ++round) {
    PtyTerminal terminal(kColumns, kRows);
    ScreenWriter writer(kColumns, kRows, charset.glyphs);
    writer.AssumeCursor(0, 0);
    std::vector<std::vector<ModelCell>> model(kRows, std::vector<ModelCell>(kColumns));
    for (int batch = 0; batch < 30; ++batch) {
      const int draws = std::uniform_int_distribution<>(1, 120)(random);
      for (int n = 0; n < draws; ++n) {
        if (random() % 40 == 0) {
          // The whole screen mostly, a region of it now and then, with cells held across it.
          const bool whole = random() % 4 != 0;
          const int top = whole ? 0 : static_cast<int>(random() % (kRows - 1));
          const int bottom =
              whole ? kRows - 1 : top + 1 + static_cast<int>(random() % (kRows - 1 - top));
          writer.ScrollUp(top, bottom, console::stream::kDefaultColours);
          model.erase(model.begin() + top);
          model.insert(model.begin() + bottom, std::vector<ModelCell>(kColumns));
          continue;
        }
        // Mostly runs along a row, as text is written; now and then anywhere.
        const int y = static_cast<int>(random() % kRows);
        int x = static_cast<int>(random() % kColumns);
        const Colours& colours = kColours[picks[random() % std::size(picks)]];
        for (int run = static_cast<int>(random() % 12); run >= 0 && x < kColumns; --run, ++x) {
          const uint8_t code = codes[random() % std::size(codes)];
          writer.PutCell(x, y, code, colours.attribute);
          model[y][x] = ModelCell{colours.attribute == 0x00 ? uint8_t{' '} : code, &colours};
        }
      }
      const int cursor_x = static_cast<int>(random() % kColumns);
      const int cursor_y = static_cast<int>(random() % kRows);
      terminal.Show(writer.TakeFrame(
          console::Coord{static_cast<int16_t>(cursor_x), static_cast<int16_t>(cursor_y)}, false));

      ASSERT_EQ(terminal.CursorColumn(), cursor_x + 1) << "round " << round << " batch " << batch;
      ASSERT_EQ(terminal.CursorRow(), cursor_y + 1);
      for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
          const ModelCell& want = model[y][x];
          const ScreenCell got = terminal.Cell(x + 1, y + 1);
          ASSERT_EQ(got.text, charset.glyphs[want.code])
              << "cell " << x + 1 << "," << y + 1 << " round " << round << " batch " << batch;
          ASSERT_EQ(got.background, want.colours->background) << "cell " << x + 1 << "," << y + 1;
          // A blank looks the same in any foreground colour.
          if (want.code != ' ') {
            ASSERT_EQ(got.foreground, want.colours->foreground) << "cell " << x + 1 << "," << y + 1;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace e2e
