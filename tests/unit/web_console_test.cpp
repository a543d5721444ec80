// The console in a web page, on a page of the test's own: browser key events through the
// conversion and the keyboard logic to READKEY, and what goes to the page's terminal.
#include "console/web/web_console.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "console/console.hpp"
#include "console/posix/charset.hpp"
#include "console/write_statements.hpp"

namespace console::web {
namespace {

// A browser event as the page would catch it.
struct Event {
  bool down;
  std::string code;
  std::string key;
  uint32_t modifiers = 0;
};

struct NoMoreKeys {};

class TestPage : public Page {
 public:
  void Write(std::string_view bytes) override { writes.emplace_back(bytes); }
  bool NextKey(BrowserKey& event) override {
    if (events.empty()) return false;
    current = events.front();
    events.pop_front();
    event = BrowserKey{current.down, current.code, current.key, current.modifiers};
    return true;
  }
  // The program sleeps here until the next key: the ones the test typed meanwhile, if any.
  uint64_t NowMs() override { return 0; }
  void WaitForKey(int /*timeout_ms*/) override {
    ++waits;
    events.insert(events.end(), typed_at_wait.begin(), typed_at_wait.end());
    typed_at_wait.clear();
    if (events.empty()) throw NoMoreKeys{};
  }

  std::deque<Event> events;
  std::vector<Event> typed_at_wait;
  Event current;
  std::vector<std::string> writes;
  int waits = 0;
};

const Cp866High& High() {
  static const Cp866High high = posix::LoadCharset("UTF-8").cp866_high;
  return high;
}

// Presses and releases a key.
std::vector<Event> Press(const std::string& code, const std::string& key, uint32_t modifiers = 0) {
  return {{true, code, key, modifiers}, {false, code, key, modifiers}};
}

// What READKEY returns for EVENTS, as console-keys prints it: "0 32" for an extended key,
// keys apart by commas.
std::string KeysRead(const std::vector<std::vector<Event>>& events) {
  TestPage page;
  for (const auto& group : events)
    page.events.insert(page.events.end(), group.begin(), group.end());
  WebConsole console(page, High());
  SCANCODE = 0;
  SPECIALKEY = false;
  Init(console);
  std::string read;
  try {
    for (;;) {
      const uint8_t key = READKEY();
      if (!read.empty()) read += ",";
      read += std::to_string(key);
      if (key == 0 && SCANCODE != 0) read += " " + std::to_string(READKEY());
    }
  } catch (NoMoreKeys) {
  }
  return read;
}

using modifier::kAlt;
using modifier::kAltGraph;
using modifier::kCtrl;
using modifier::kNumLock;
using modifier::kShift;

TEST(WebConsole, BrowserKeysReachReadKeyAsOnThePcKeyboard) {
  // Left and right Alt, Alt composition, the keypad's Enter and slash and Cyrillic in real
  // key events are in tests/cases/platform.cases.
  const Event alt_left_down{true, "AltLeft", "Alt", kAlt};
  const Event ctrl_left_down{true, "ControlLeft", "Control", kCtrl};
  const struct {
    const char* what;
    std::vector<std::vector<Event>> events;
    const char* read;
  } kCases[] = {
      {"a letter", {Press("KeyD", "d")}, "100"},
      {"Shift with a letter", {Press("KeyD", "D", kShift)}, "68"},
      {"AltGr as Windows reports it",
       {{ctrl_left_down, {true, "AltRight", "AltGraph", kCtrl | kAlt | kAltGraph}},
        Press("KeyQ", "@", kCtrl | kAlt | kAltGraph)},
       "64"},
      {"the keypad without Num Lock", {Press("Numpad4", "ArrowLeft")}, "0 75"},
      {"keypad minus", {Press("NumpadSubtract", "-")}, "45"},
      {"Ctrl with a letter of the Russian layout",
       {{ctrl_left_down}, Press("KeyD", "в", kCtrl)},
       "4"},
      {"a character the code page lacks", {Press("KeyE", "€")}, "0 18"},
      {"a dead key", {Press("BracketLeft", "Dead")}, "0 26"},
      {"Esc, Enter, Backspace, Shift+Tab",
       {Press("Escape", "Escape"), Press("Enter", "Enter"), Press("Backspace", "Backspace"),
        Press("Tab", "Tab", kShift)},
       "27,13,8,0 15"},
      {"grey and function keys",
       {Press("ArrowUp", "ArrowUp"), Press("F5", "F5"), Press("F12", "F12")},
       "0 72,0 63,0 134"},
      {"a lone Shift, then a key", {Press("ShiftLeft", "Shift", kShift), Press("KeyA", "a")}, "97"},
      {"an Alt let go while the page could not see it",
       {{alt_left_down}, Press("KeyD", "d")},
       "100"},
      {"a key of a virtual keyboard", {Press("", "ж")}, "166"},
      {"keys the PC lacks", {Press("AudioVolumeUp", "AudioVolumeUp"), Press("F13", "F13")}, ""},
  };
  for (const auto& c : kCases) EXPECT_EQ(KeysRead(c.events), c.read) << c.what;
}

TEST(WebConsole, GreyKeysAndKeypadKeysCarryThePcScanCodes) {
  BrowserKeys keys(High());
  const struct {
    const char* code;
    const char* key;
    uint16_t scan;
    bool enhanced;
  } kCases[] = {
      {"Delete", "Delete", 83, true},     {"NumpadDecimal", "Delete", 83, false},
      {"NumpadDecimal", ",", 83, false},  {"ControlRight", "Control", 29, true},
      {"NumpadEnter", "Enter", 28, true}, {"IntlBackslash", "\\", 86, false},
  };
  for (const auto& c : kCases) {
    const std::optional<KeyEvent> key = keys.Convert(BrowserKey{true, c.code, c.key, 0});
    ASSERT_TRUE(key.has_value()) << c.code;
    EXPECT_EQ(key->scan_code, c.scan) << c.code;
    EXPECT_EQ((key->control_state & kEnhancedKey) != 0, c.enhanced) << c.code;
  }
}

TEST(WebConsole, EachWaitSendsWhatWasDrawnInOneWrite) {
  TestPage page;
  WebConsole console(page, High());
  Init(console);
  Write({"Hello"});
  EXPECT_TRUE(page.writes.empty()) << "nothing is sent before the wait";
  page.typed_at_wait = {{true, "Space", " "}};
  EXPECT_EQ(READKEY(), ' ');
  ASSERT_EQ(page.writes.size(), 1u);
  EXPECT_NE(page.writes[0].find("Hello"), std::string::npos);
  // A wait with nothing new drawn sends nothing.
  page.typed_at_wait = {{true, "Space", " "}};
  EXPECT_EQ(READKEY(), ' ');
  EXPECT_EQ(page.waits, 2);
  EXPECT_EQ(page.writes.size(), 1u);
}

TEST(WebConsoleDeathTest, CtrlCEndsTheRun) {
  EXPECT_EXIT(KeysRead({{{true, "ControlLeft", "Control", kCtrl}}, Press("KeyC", "с", kCtrl)}),
              ::testing::ExitedWithCode(WebConsole::kInterruptedStatus), "");
}

}  // namespace
}  // namespace console::web
