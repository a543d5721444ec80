// A fresh layer on an in-memory console for each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "console/console.hpp"
#include "console/memory/memory_console.hpp"

namespace console::testing {

class ConsoleTest : public ::testing::Test {
 protected:
  // An 80 x 25 window at the top of a 120 x 40 buffer unless a test says otherwise.
  void Open(int width = 120, int height = 40, Rect window = {0, 0, 79, 24},
            uint16_t attribute = 0x07) {
    screen = std::make_unique<MemoryConsole>(width, height, window, attribute);
    SCANCODE = 0;
    SPECIALKEY = false;
    INOUTRES = 0;
    Init(*screen);
  }
  void SetUp() override { Open(); }

  // One write statement of TEXT, without a line end.
  static void Write(std::string_view text, int32_t width = 0) {
    WRITE_TEXT_ANSISTR(width, OUTPUT, text);
    WRITE_END(OUTPUT);
  }
  static void WriteLn(std::string_view text = {}) {
    WRITE_TEXT_ANSISTR(0, OUTPUT, text);
    WRITELN_END(OUTPUT);
  }
  // Window coordinates of the console's cursor, 1-based.
  Coord Cursor() const {
    return Coord{static_cast<int16_t>(screen->cursor().x - static_cast<int>(WINDMINX) + 2),
                 static_cast<int16_t>(screen->cursor().y - static_cast<int>(WINDMINY) + 2)};
  }
  // Text of window row Y (1-based) from window column X, COUNT cells.
  std::string Row(int y, int x = 1, int count = 80) const {
    return screen->Row(static_cast<int>(WINDMINY) + y - 2, static_cast<int>(WINDMINX) + x - 2,
                       count);
  }
  Cell& At(int x, int y) {
    return screen->At(static_cast<int>(WINDMINX) + x - 2, static_cast<int>(WINDMINY) + y - 2);
  }

  std::unique_ptr<MemoryConsole> screen;
};

}  // namespace console::testing
