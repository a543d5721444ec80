// The Windows console platform against a recording console: the screens of a whole run
// against the in-memory console's, the output calls per wait, the key events, and
// redirected input and output.
#include "console/windows/windows_console.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "console/console.hpp"
#include "console/memory/memory_console.hpp"
#include "visualizer/driver.hpp"

namespace console::windows {
namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 40;  // the buffer; the window is rows 10 to 34
constexpr Rect kWindow{0, 10, 79, 34};
constexpr uint16_t kAttribute = 0x1E;

Cp866High High() {
  // The Cyrillic letters as Windows converts them; the rest of the table does not matter here.
  Cp866High high{};
  for (int i = 0; i < 48; ++i) high[i] = U'\u0410' + i;
  for (int i = 0; i < 16; ++i) high[0x60 + i] = U'\u0440' + i;
  return high;
}

// A console in memory that records every call made to it.
class FakeConsole : public ConsoleApi {
 public:
  FakeConsole(bool console_out = true, bool console_in = true)
      : console_out_(console_out),
        console_in_(console_in),
        cells_(kWidth * kHeight, ConsoleCell{u'.', 0x07}) {}

  bool GetScreenBufferInfo(ScreenInfo& info) override {
    info = ScreenInfo{Coord{kWidth, kHeight}, Coord{0, 20}, kAttribute, kWindow};
    return console_out_;
  }
  std::vector<ConsoleCell> ReadOutput(Rect rect) override {
    std::vector<ConsoleCell> out;
    for (int y = rect.top; y <= rect.bottom; ++y)
      for (int x = rect.left; x <= rect.right; ++x) out.push_back(At(x, y));
    return out;
  }
  void WriteOutput(Rect rect, const std::vector<ConsoleCell>& cells) override {
    ++batch.writes;
    std::size_t i = 0;
    for (int y = rect.top; y <= rect.bottom; ++y)
      for (int x = rect.left; x <= rect.right; ++x) At(x, y) = cells[i++];
  }
  void ScrollScreenBuffer(Rect source, Rect clip, Coord dest, ConsoleCell fill) override {
    ++batch.scrolls;
    const int rows = source.top - dest.y;
    ASSERT_EQ(clip, kWindow);
    for (int y = clip.top; y <= clip.bottom; ++y)
      for (int x = clip.left; x <= clip.right; ++x)
        At(x, y) = y + rows <= clip.bottom ? At(x, y + rows) : fill;
  }
  void SetCursorPosition(Coord where) override {
    ++batch.cursor_moves;
    cursor = where;
  }
  bool InputIsConsole() override { return console_in_; }
  uint32_t NumberOfInputEvents() override { return static_cast<uint32_t>(input.size()); }
  ConsoleInput ReadInput() override {
    const ConsoleInput event = input.front();
    input.pop_front();
    return event;
  }
  // A key typed after each wait, as a user would (keys typed ahead are drained at gates).
  uint64_t NowMs() override { return 0; }
  void WaitForInput(uint32_t /*timeout_ms*/) override {
    batches.push_back(batch);
    batch = Batch{};
    screens.push_back(Screen());
    if (to_type.empty()) std::abort();  // waiting for a key that will never come
    input.push_back(to_type.front());
    to_type.pop_front();
  }
  long ReadBytes(uint8_t* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, typed.size());
    std::copy_n(typed.begin(), n, buffer);
    typed.erase(0, n);
    return static_cast<long>(n);
  }
  void WriteBytes(std::string_view bytes) override { written += bytes; }
  void ColoursChanged(bool /*changed*/) override {}

  ConsoleCell& At(int x, int y) { return cells_[static_cast<std::size_t>(y * kWidth + x)]; }
  // The window's characters and attributes.
  std::vector<ConsoleCell> Screen() { return ReadOutput(kWindow); }

  struct Batch {
    int writes = 0;
    int scrolls = 0;
    int cursor_moves = 0;
  };
  Batch batch;
  std::vector<Batch> batches;
  std::vector<std::vector<ConsoleCell>> screens;
  std::deque<ConsoleInput> input;
  std::deque<ConsoleInput> to_type;
  std::string typed;
  std::string written;
  Coord cursor;

 private:
  bool console_out_;
  bool console_in_;
  std::vector<ConsoleCell> cells_;
};

ConsoleInput Key(uint16_t scan, char16_t character, uint32_t state = 0, uint16_t vk = 0,
                 bool down = true) {
  ConsoleInput input;
  input.key_down = down;
  input.scan_code = scan;
  input.character = character;
  input.control_state = state;
  input.virtual_key = vk;
  return input;
}

void ResetKeyboard() {
  SCANCODE = 0;
  SPECIALKEY = false;
  INOUTRES = 0;
}

TEST(WindowsConsole, AWholeRunShowsWhatTheInMemoryConsoleShowsInOneBatchPerWait) {
  const std::string keys = "4" + std::string(70, ' ') + "ok\r";
  // The in-memory console, with the same window, attribute and starting cells.
  MemoryConsole memory(kWidth, kHeight, kWindow, kAttribute);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) memory.At(x, y) = Cell{'.', 0x07};
  memory.SetCursor(Coord{0, 20});
  static std::vector<std::vector<Cell>> expected;
  static std::string to_type;
  expected.clear();
  to_type = keys;
  memory.OnWait([](MemoryConsole& console) {
    std::vector<Cell> screen;
    for (int y = kWindow.top; y <= kWindow.bottom; ++y)
      for (int x = 0; x < kWidth; ++x) screen.push_back(console.At(x, y));
    expected.push_back(screen);
    if (to_type.empty()) std::abort();
    console.PushKey(MakeKey(0, static_cast<uint8_t>(to_type[0]), 0, 0));
    to_type.erase(0, 1);
  });
  ResetKeyboard();
  Init(memory);
  visualizer::RunDemo();

  FakeConsole fake;
  for (char c : keys) fake.to_type.push_back(Key(0, static_cast<char16_t>(c)));
  const auto windows = OpenWindowsConsole(fake, High(), false);
  ResetKeyboard();
  Init(*windows);
  visualizer::RunDemo();
  windows->FinalFlush();

  ASSERT_EQ(fake.screens.size(), expected.size()) << "a wait for every key";
  const auto glyphs = High();
  for (std::size_t wait = 0; wait < expected.size(); ++wait) {
    for (std::size_t i = 0; i < expected[wait].size(); ++i) {
      const Cell& want = expected[wait][i];
      const ConsoleCell got = fake.screens[wait][i];
      ASSERT_EQ(got.attribute, want.attribute) << "wait " << wait << " cell " << i;
      ASSERT_EQ(static_cast<char32_t>(got.character), Cp866Glyph(want.character, glyphs))
          << "wait " << wait << " cell " << i;
    }
    const FakeConsole::Batch& batch = fake.batches[wait];
    EXPECT_LE(batch.scrolls, 1) << "wait " << wait;
    EXPECT_LE(batch.cursor_moves, 1) << "wait " << wait;
    EXPECT_LE(batch.writes, 2) << "wait " << wait;
  }
  EXPECT_EQ(fake.cursor, memory.cursor());
}

TEST(WindowsConsole, KeyEventsGiveThePcResults) {
  struct Case {
    const char* name;
    std::vector<ConsoleInput> events;
    std::vector<int> keys;
  } cases[] = {
      // Alt, the keypad and Cyrillic on a real console are in tests/cases/platform.cases.
      {"Esc that carries no character (Wine in a Unix terminal)", {Key(1, 0, 0, 27)}, {27}},
      {"Alt+Esc stays the extended key", {Key(1, 0, 0x02, 27)}, {0, 1}},
      {"a character code page 866 lacks", {Key(18, u'\u20AC', 0x01 | 0x08, 'E')}, {0, 18}},
      {"Shift alone, then a", {Key(42, 0, 0x10, 16), Key(30, u'a', 0, 'A')}, {'a'}},
  };
  for (const Case& c : cases) {
    FakeConsole fake;
    fake.input.assign(c.events.begin(), c.events.end());
    ConsoleInput other;
    other.is_key = false;
    fake.input.push_front(other);  // a mouse or focus event: not a key
    const auto windows = OpenWindowsConsole(fake, High(), false);
    ResetKeyboard();
    Init(*windows);
    std::vector<int> keys;
    while (KEYPRESSED()) keys.push_back(READKEY());
    EXPECT_EQ(keys, c.keys) << c.name;
  }
}

TEST(WindowsConsole, RedirectedInputAndOutputAreByteStreams) {
  FakeConsole fake(false, false);
  fake.typed = "3" + std::string(30, ' ') + "\n";
  const auto windows = OpenWindowsConsole(fake, High(), false);
  ResetKeyboard();
  Init(*windows);
  visualizer::RunDemo();
  windows->FinalFlush();
  EXPECT_NE(fake.written.find("Total comparisons: 9"), std::string::npos);
  EXPECT_NE(fake.written.find("Total movings: 0"), std::string::npos);
  EXPECT_TRUE(fake.typed.empty()) << "every key read";
}

}  // namespace
}  // namespace console::windows
