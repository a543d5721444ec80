// The Windows programs on a real Wine console: a driver program on the same console types
// exact key events (WriteConsoleInputW) and reads the screen buffer back; the test waits
// until the program has read every event and sleeps in its wait for input. Skipped when the
// Windows build or Wine is not there.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
  explicit WineConsole(const std::string& program) {
    dir_ = std::filesystem::temp_directory_path() / ("wine-console-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    mkfifo((dir_ / "commands").c_str(), 0600);
    mkfifo((dir_ / "replies").c_str(), 0600);
    // A copy of its own, so that the program's process is told from those of tests running
    // at the same time.
    program_ = (dir_ / std::filesystem::path(program).filename()).string();
    std::filesystem::copy_file(program, program_);
    terminal.Start(WINE_RUN,
                   {kBuild + "/tests/console-driver.exe", "Z:" + (dir_ / "commands").string(),
                    "Z:" + (dir_ / "replies").string(), program_});
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
  // Types KEYS, then waits until the program has read them all and sleeps waiting for more.
  bool Press(const std::vector<Key>& keys) {
    for (const Key& key : keys)
      Ask("key " + std::to_string(key.down) + " " + std::to_string(key.vk) + " " +
          std::to_string(key.scan) + " " + std::to_string(key.character) + " " +
          std::to_string(key.state));
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
  // Window row Y: its text, trailing blanks removed.
  std::string Row(int y) {
    std::string text = Ask("row " + std::to_string(y));
    text = text.substr(0, text.find('\t'));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  }
  // The attribute of cell X of window row Y.
  int Attribute(int x, int y) {
    const std::string row = Ask("row " + std::to_string(y));
    return std::stoi(row.substr(row.find('\t') + 1 + 2 * (x - 1), 2), nullptr, 16);
  }
  int ExitStatus() { return std::stoi(Ask("exit")); }

  PtyTerminal terminal{80, 25};

 private:
  // The program's own process sleeps in a wait: under Wine a read of the 16-byte wake-up
  // record from the server, where an ordinary call to the server reads a longer reply.
  bool Waiting() {
    if (pid_ <= 0) pid_ = FindPid();
    if (pid_ <= 0 || !WaitsWithoutLimit(pid_)) return false;
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

const std::vector<Key> kSpace = Tap(32, 57, ' ');
const std::vector<Key> kEnter = Tap(13, 28, '\r');

TEST_F(WineConsoleTest, AWholeRunOfDataSet4) {
  WineConsole run(kBuild + "/visualizer/insertion-sort-demo.exe");
  ASSERT_TRUE(run.WaitForKeyWait());
  ASSERT_TRUE(run.Press(Type("4")));
  for (int gate = 0; gate < 70; ++gate) ASSERT_TRUE(run.Press(kSpace)) << "gate " << gate;
  EXPECT_EQ(run.Row(24), "Total movings: 21");
  // The final line, edited: a, b, Backspace, c.
  ASSERT_TRUE(run.Press(Type("ab")));
  ASSERT_TRUE(run.Press(Tap(8, 14, 8)));
  ASSERT_TRUE(run.Press(Type("c")));
  EXPECT_EQ(run.Row(25), "ac");
  for (const Key& key : kEnter) run.Ask("key " + std::to_string(key.down) + " 13 28 13 0");
  EXPECT_EQ(run.ExitStatus(), 0);
}

TEST_F(WineConsoleTest, TheComparisonFrameInItsColoursAndEscAtAGate) {
  WineConsole run(kBuild + "/visualizer/insertion-sort-demo.exe");
  ASSERT_TRUE(run.WaitForKeyWait());
  ASSERT_TRUE(run.Press(Type("4")));
  for (int gate = 0; gate < 7; ++gate) ASSERT_TRUE(run.Press(kSpace));
  // The first comparison of 12: 55 light red above, 12 light red below, its place blank.
  int row = 1;
  while (row < 25 && run.Row(row) != "i = 3") ++row;
  for (int next = row + 1; next < 25; ++next)
    if (run.Row(next) == "i = 3") row = next;
  ASSERT_LT(row, 24);
  EXPECT_EQ(run.Attribute(8, row + 1) & 0x0F, 12) << "55, compared and larger";
  EXPECT_EQ(run.Attribute(12, row + 1) & 0x0F, 0) << "the hole";
  EXPECT_EQ(run.Attribute(12, row + 2) & 0x0F, 12) << "12, the element being inserted";
  EXPECT_EQ(run.Attribute(4, row + 1) & 0x0F, 7) << "44, as it stands";
  run.Ask("key 1 27 1 27 0");
  EXPECT_EQ(run.ExitStatus(), 100);
  EXPECT_EQ(run.Row(24), "breaking program");
}

TEST_F(WineConsoleTest, ConsoleKeysShowsExactKeys) {
  WineConsole run(kBuild + "/tools/console-keys.exe");
  ASSERT_TRUE(run.WaitForKeyWait());
  constexpr int kLeftAlt = 0x02, kRightAlt = 0x01, kLeftCtrl = 0x08, kEnhanced = 0x100;
  struct Case {
    const char* name;
    std::vector<Key> keys;
    const char* shown;
  } cases[] = {
      {"left Alt+D", Tap('D', 32, 'd', kLeftAlt), "0 32"},
      {"right Alt+D", Tap('D', 32, 'd', kRightAlt | kLeftCtrl), "100"},
      {"Alt with keypad 6, 5",
       {{true, 18, 56, 0, kLeftAlt},
        {true, 102, 77, 0, kLeftAlt},
        {false, 102, 77, 0, kLeftAlt},
        {true, 101, 76, 0, kLeftAlt},
        {false, 101, 76, 0, kLeftAlt},
        {false, 18, 56, 'A', 0}},
       "65"},
      {"keypad Enter", Tap(13, 28, '\r', kEnhanced), "0 28"},
      {"keypad slash", Tap(111, 53, '/', kEnhanced), "0 53"},
      {"Cyrillic д", Tap('L', 38, 0x0434), "164"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(run.Press(c.keys)) << c.name;
    const std::string cursor = run.Ask("cursor");
    const int row = std::stoi(cursor.substr(cursor.find(' ') + 1));
    EXPECT_EQ(run.Row(row - 1), c.shown) << c.name;
  }
}

}  // namespace
}  // namespace e2e
