// The behaviour cases of every platform (tests/cases/platform.cases) on the Windows console:
// the Windows programs on a real Wine console, where a driver program on the same console
// types exact key events (WriteConsoleInputW) and reads the screen buffer back; the test
// waits until the program has read every event and sleeps in its wait for input. Skipped
// when the Windows build or Wine is not there.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform_cases.hpp"
#include "pty_terminal.hpp"

namespace e2e {
namespace {

const std::string kBuild = WINDOWS_BUILD;

// One key event as the console has it.
struct Key {
  bool down;
  int vk;
  int scan;
  int character;  // UTF-16
  int state;
};
std::vector<Key> Tap(int vk, int scan, int character, int state = 0) {
  return {{true, vk, scan, character, state}, {false, vk, scan, character, state}};
}
std::vector<Key> Type(const std::string& text) {
  std::vector<Key> keys;
  for (char c : text) {
    const int vk = c >= 'a' && c <= 'z' ? c - 32 : c;
    for (const Key& key : Tap(vk, 0, static_cast<unsigned char>(c))) keys.push_back(key);
  }
  return keys;
}

class WineConsole {
 public:
  // LOCALE is the locale Wine starts in, which gives Windows its user's interface language.
  explicit WineConsole(const std::string& program, const std::vector<std::string>& args = {},
                       const std::string& locale = "C.UTF-8") {
    dir_ = std::filesystem::temp_directory_path() / ("wine-console-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    mkfifo((dir_ / "commands").c_str(), 0600);
    mkfifo((dir_ / "replies").c_str(), 0600);
    // A copy of its own, so that the program's process is told from those of tests running
    // at the same time.
    program_ = (dir_ / std::filesystem::path(program).filename()).string();
    std::filesystem::copy_file(program, program_);
    std::vector<std::string> command = {kBuild + "/tests/console-driver.exe",
                                        "Z:" + (dir_ / "commands").string(),
                                        "Z:" + (dir_ / "replies").string(), program_};
    command.insert(command.end(), args.begin(), args.end());
    terminal.SetLocale(locale);
    terminal.Start(WINE_RUN, command);
    commands_ = std::fopen((dir_ / "commands").c_str(), "w");
    replies_ = std::fopen((dir_ / "replies").c_str(), "r");
  }
  ~WineConsole() {
    if (commands_ != nullptr) std::fclose(commands_);
    if (replies_ != nullptr) std::fclose(replies_);
    std::filesystem::remove_all(dir_);
  }

  std::string Ask(const std::string& command) {
    std::fprintf(commands_, "%s\n", command.c_str());
    std::fflush(commands_);
    char line[2048] = {};
    if (std::fgets(line, sizeof line, replies_) == nullptr) return "";
    std::string reply = line;
    while (!reply.empty() && (reply.back() == '\n' || reply.back() == '\r')) reply.pop_back();
    return reply;
  }
  // Puts one key event into the console's input.
  void Type(const Key& key) {
    Ask("key " + std::to_string(key.down) + " " + std::to_string(key.vk) + " " +
        std::to_string(key.scan) + " " + std::to_string(key.character) + " " +
        std::to_string(key.state));
  }
  // Types KEYS, then waits until the program has read them all and sleeps waiting for more.
  bool Press(const std::vector<Key>& keys) {
    for (const Key& key : keys) Type(key);
    return WaitForKeyWait();
  }
  // Under Wine a program also waits briefly while the console serves its calls, so one look
  // is not enough: it has read every event, sleeps in a wait, and the screen stays the same
  // over several looks in a row.
  bool WaitForKeyWait() {
    constexpr int kLooks = 3;
    std::string screen;
    int same = 0;
    for (int tries = 0; tries < 200000 && same < kLooks; ++tries) {
      terminal.Drain();
      if (Ask("pending") != "0" || !Waiting()) {
        same = 0;
        continue;
      }
      const std::string now = Ask("screen");
      same = now == screen ? same + 1 : 1;
      screen = now;
    }
    return same >= kLooks;
  }
  long long ExitStatus() { return std::stoll(Ask("exit")); }

  PtyTerminal terminal{80, 25};

 private:
  // The program's own process sleeps in a wait: under Wine a read of the 16-byte wake-up
  // record from the server, where an ordinary call to the server reads a longer reply.
  bool Waiting() {
    if (pid_ <= 0) pid_ = FindPid();
    if (pid_ <= 0 || !WaitsForAKey(pid_)) return false;
    std::ifstream file("/proc/" + std::to_string(pid_) + "/syscall");
    std::string number, fd, buffer, count;
    file >> number >> fd >> buffer >> count;
    return count == "0x10";
  }
  pid_t FindPid() const {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
      std::ifstream file(entry.path() / "cmdline");
      std::string first;
      std::getline(file, first, '\0');
      if (first == program_) return std::atoi(entry.path().filename().c_str());
    }
    return -1;
  }

  std::string program_;
  std::filesystem::path dir_;
  std::FILE* commands_ = nullptr;
  std::FILE* replies_ = nullptr;
  pid_t pid_ = -1;
};

class WineConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kBuild + "/tests/console-driver.exe") ||
        std::system("command -v wine >/dev/null") != 0)
      GTEST_SKIP() << "no Windows build or no Wine";
  }
};

constexpr int kRightAlt = 0x01, kLeftAlt = 0x02, kLeftCtrl = 0x08, kEnhanced = 0x100;

// The console's key events of each key of the cases.
const std::map<std::string, std::vector<Key>> kKeys = {
    {"Space", Tap(32, 57, ' ')},
    {"Enter", Tap(13, 28, '\r')},
    {"Esc", Tap(27, 1, 27)},
    {"Backspace", Tap(8, 14, 8)},
    {"Up", Tap(38, 72, 0, kEnhanced)},
    {"Down", Tap(40, 80, 0, kEnhanced)},
    {"Left", Tap(37, 75, 0, kEnhanced)},
    {"Right", Tap(39, 77, 0, kEnhanced)},
    {"KeypadEnter", Tap(13, 28, '\r', kEnhanced)},
    {"KeypadSlash", Tap(111, 53, '/', kEnhanced)},
    {"LeftAlt+D", Tap('D', 32, 'd', kLeftAlt)},
    // AltGr: the right Alt, with the left Ctrl that Windows reports with it.
    {"RightAlt+D", Tap('D', 32, 'd', kRightAlt | kLeftCtrl)},
    {"Alt+Keypad65",
     {{true, 18, 56, 0, kLeftAlt},
      {true, 102, 77, 0, kLeftAlt},
      {false, 102, 77, 0, kLeftAlt},
      {true, 101, 76, 0, kLeftAlt},
      {false, 101, 76, 0, kLeftAlt},
      {false, 18, 56, 'A', 0}}},
    {"RussianL", Tap('L', 38, 0x0434)},
    {"RussianY", Tap('Y', 21, 0x043D)},
    {"RussianP", Tap('P', 25, 0x0437)},
};

// The code points of UTF-8 TEXT, each as its bytes.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (unsigned char byte : text) {
    if ((byte & 0xC0) == 0x80 && !characters.empty())
      characters.back().push_back(static_cast<char>(byte));
    else
      characters.emplace_back(1, static_cast<char>(byte));
  }
  return characters;
}

class WineDriver : public CaseDriver {
 public:
  bool Start(const PlatformCase& c) override {
    run_ = std::make_unique<WineConsole>(
        kBuild + (c.program == "console-keys" ? "/tools/console-keys.exe"
                                              : "/visualizer/insertion-sort-demo.exe"),
        c.args, c.language == "ru" ? "ru_RU.UTF-8" : "C.UTF-8");
    return run_->WaitForKeyWait();
  }
  bool Press(const std::string& key) override {
    const std::vector<Key>* keys = KeysOf(key);
    rows_.clear();
    return keys != nullptr && run_->Press(*keys);
  }
  int End(const std::string& key) override {
    const std::vector<Key>* keys = KeysOf(key);
    if (keys == nullptr) return -1;
    rows_.clear();
    // The program may end on the press: the rest is typed without waiting for it.
    for (const Key& event : *keys) run_->Type(event);
    return run_->ExitStatus();
  }
  std::string VisibleRow(int row) override {
    const std::string& reply = Row(row);
    const std::vector<std::string> characters = Characters(reply.substr(0, reply.find('\t')));
    std::string text;
    for (std::size_t x = 0; x < characters.size(); ++x)
      text +=
          Hidden(characters[x], AttributeIn(reply, static_cast<int>(x) + 1)) ? " " : characters[x];
    return text.erase(text.find_last_not_of(' ') + 1);
  }
  std::string Colour(int column, int row) override {
    const std::string& reply = Row(row);
    const std::vector<std::string> characters = Characters(reply.substr(0, reply.find('\t')));
    const int attribute = AttributeIn(reply, column);
    if (Hidden(characters.at(static_cast<std::size_t>(column - 1)), attribute)) return "hidden";
    switch (attribute) {
      case 0x07: return "grey";
      case 0x0C: return "lightred";
      case 0x0A: return "lightgreen";
      default: return "attribute " + std::to_string(attribute);
    }
  }
  int CursorRow() override {
    const std::string cursor = run_->Ask("cursor");
    return std::stoi(cursor.substr(cursor.find(' ') + 1));
  }
  int CursorColumn() override { return std::stoi(run_->Ask("cursor")); }

 private:
  // The console's reply for ROW: its characters, a tab, and its attributes; asked once
  // between two keys.
  const std::string& Row(int row) {
    const auto found = rows_.find(row);
    if (found != rows_.end()) return found->second;
    return rows_[row] = run_->Ask("row " + std::to_string(row));
  }
  // The attribute of cell X in a row's reply: after the tab, two hex digits a cell.
  static int AttributeIn(const std::string& reply, int x) {
    return std::stoi(reply.substr(reply.find('\t') + 1 + 2 * (x - 1), 2), nullptr, 16);
  }
  // A cell that shows nothing: a blank, or black on black.
  static bool Hidden(const std::string& character, int attribute) {
    return character == " " || (attribute & 0x7F) == 0;
  }
  static const std::vector<Key>* KeysOf(const std::string& key) {
    static std::map<std::string, std::vector<Key>> typed;
    if (const auto found = kKeys.find(key); found != kKeys.end()) return &found->second;
    if (key.size() != 1) return nullptr;
    return &typed.emplace(key, Type(key)).first->second;
  }

  std::unique_ptr<WineConsole> run_;
  std::map<int, std::string> rows_;
};

// Ctrl+C ends a run as Windows ends it, never as a success.
TEST_F(WineConsoleTest, CtrlCEndsTheRunWithTheStatusThatSaysSo) {
  WineConsole run(kBuild + "/visualizer/insertion-sort-demo.exe");
  ASSERT_TRUE(run.WaitForKeyWait());
  ASSERT_EQ(run.Ask("ctrl-c"), "sent");
  EXPECT_EQ(run.ExitStatus(), 0xC000013ALL);
}

// Auto-play on the console: every step passes by itself, up to the final line.
TEST_F(WineConsoleTest, AutoPlayRunsUpToTheFinalLine) {
  WineConsole run(kBuild + "/visualizer/insertion-sort-demo.exe",
                  {"--auto=0.05", "--array", "3,2,1"});
  std::string last;
  for (int look = 0; look < 5000 && last != "Total movings: 3"; ++look) {
    const std::string cursor = run.Ask("cursor");
    const std::string row =
        run.Ask("row " + std::to_string(std::stoi(cursor.substr(cursor.find(' ') + 1)) - 1));
    last = row.substr(0, row.find('\t'));
    last.erase(last.find_last_not_of(' ') + 1);
  }
  EXPECT_EQ(last, "Total movings: 3");
  for (const Key& key : Tap(13, 28, '\r')) run.Type(key);
  EXPECT_EQ(run.ExitStatus(), 0);
}

class WinePlatformCases : public WineConsoleTest,
                          public ::testing::WithParamInterface<PlatformCase> {};

TEST_P(WinePlatformCases, OnTheWindowsConsole) {
  WineDriver driver;
  RunPlatformCase(GetParam(), driver);
}

INSTANTIATE_TEST_SUITE_P(Wine, WinePlatformCases,
                         ::testing::ValuesIn(ReadPlatformCases(PLATFORM_CASES)),
                         [](const ::testing::TestParamInfo<PlatformCase>& param_info) {
                           return param_info.param.TestName(param_info.index);
                         });

}  // namespace
}  // namespace e2e
