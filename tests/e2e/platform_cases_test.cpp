// The behaviour cases of every platform (tests/cases/platform.cases) on the POSIX terminal:
// the real programs in a pseudo-terminal whose screen is libvterm. Keys go as xterm sends
// them; a case with keys that only exact key events tell apart (right Alt, Alt held over
// the keypad) runs on a terminal that speaks the kitty keyboard protocol.
#include "platform_cases.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <map>
#include <optional>

#include "kitty_events.hpp"
#include "pty_terminal.hpp"

namespace e2e {
namespace {

using namespace kitty;

const std::map<std::string, std::string> kXtermKeys = {
    {"Space", " "},
    {"Enter", "\r"},
    {"Esc", "\x1b"},
    {"Backspace", "\x7f"},
    {"Up", "\x1b[A"},
    {"Left", "\x1b[D"},
    {"Right", "\x1b[C"},
    {"Down", "\x1b[B"},
    {"KeypadEnter", "\x1bOM"},
    {"KeypadSlash", "\x1bOo"},
    {"LeftAlt+D",
     "\x1b"
     "d"},
    {"RussianL", "\xd0\xb4"},
    {"RussianY", "\xd0\xbd"},
    {"RussianP", "\xd0\xb7"},
};

const std::map<std::string, std::string> kKittyKeys = {
    {"Space", Tap(' ')},
    {"Enter", Tap(13)},
    {"Esc", Tap(27)},
    {"Backspace", Tap(127)},
    {"KeypadEnter", Tap(57414)},
    {"KeypadSlash", Tap(57410)},
    {"LeftAlt+D", Press(kLeftAlt, kAltMods) + Tap('d', kAltMods) + Release(kLeftAlt)},
    {"RightAlt+D", Press(kRightAlt, kAltMods) + Tap('d', kAltMods) + Release(kRightAlt)},
    {"Alt+Keypad65", Press(kLeftAlt, kAltMods) + Tap(kKeypad0 + 6, kAltMods) +
                         Tap(kKeypad0 + 5, kAltMods) + Release(kLeftAlt)},
    {"RussianL", Tap(0x0434)},
    {"RussianY", Tap(0x043D)},
    {"RussianP", Tap(0x0437)},
};

class PtyDriver : public CaseDriver {
 public:
  bool Start(const PlatformCase& c) override {
    for (const std::string& key : c.Keys())
      if (key.size() > 1 && kXtermKeys.count(key) == 0) kitty_ = true;
    terminal_.SpeakKittyKeyboard(kitty_);
    if (c.language == "ru") terminal_.SetLocale("ru_RU.UTF-8");
    terminal_.Start(c.program == "console-keys" ? CONSOLE_KEYS : DEMO, c.args);
    return terminal_.WaitForKeyWait();
  }
  bool Press(const std::string& key) override {
    const std::optional<std::string> bytes = BytesOf(key);
    if (!bytes) return false;
    terminal_.Type(*bytes);
    return terminal_.WaitForKeyWait();
  }
  int End(const std::string& key) override {
    const std::optional<std::string> bytes = BytesOf(key);
    if (!bytes) return -1;
    terminal_.Type(*bytes);
    const int status = terminal_.WaitExit();
    return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string VisibleRow(int row) override {
    std::string text;
    for (int column = 1; column <= kColumns; ++column)
      text += Hidden(terminal_.Cell(column, row)) ? " " : terminal_.Cell(column, row).text;
    return text.erase(text.find_last_not_of(' ') + 1);
  }
  std::string Colour(int column, int row) override {
    const ScreenCell cell = terminal_.Cell(column, row);
    if (Hidden(cell)) return "hidden";
    switch (cell.foreground) {
      case -1: return "grey";  // the terminal's own foreground
      case 9: return "lightred";
      case 10: return "lightgreen";
      default: return "palette " + std::to_string(cell.foreground);
    }
  }
  int CursorRow() override { return terminal_.CursorRow(); }
  int CursorColumn() override { return terminal_.CursorColumn(); }

 private:
  static constexpr int kColumns = 80;
  // A cell shows nothing: a blank, or black on the default background.
  static bool Hidden(const ScreenCell& cell) {
    return cell.text == " " || (cell.foreground == 0 && cell.background < 0);
  }
  std::optional<std::string> BytesOf(const std::string& key) const {
    const auto& keys = kitty_ ? kKittyKeys : kXtermKeys;
    if (const auto found = keys.find(key); found != keys.end()) return found->second;
    if (kitty_ && key.size() == 1) return Tap(key[0]);
    if (key.size() == 1) return key;
    if (const auto found = kXtermKeys.find(key); found != kXtermKeys.end()) return found->second;
    return std::nullopt;
  }

  PtyTerminal terminal_{80, 25};
  bool kitty_ = false;
};

class PlatformCases : public ::testing::TestWithParam<PlatformCase> {};

TEST_P(PlatformCases, OnThePosixTerminal) {
  PtyDriver driver;
  RunPlatformCase(GetParam(), driver);
}

INSTANTIATE_TEST_SUITE_P(Terminal, PlatformCases,
                         ::testing::ValuesIn(ReadPlatformCases(PLATFORM_CASES)),
                         [](const ::testing::TestParamInfo<PlatformCase>& param_info) {
                           return param_info.param.TestName(param_info.index);
                         });

}  // namespace
}  // namespace e2e
