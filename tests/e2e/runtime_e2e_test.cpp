// Every way out of the program leaves the terminal as it was found: the settings, the
// colours, and nothing of the run-time's own on the screen but the error report.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <regex>

#include "pty_terminal.hpp"

namespace e2e {
namespace {

// The last colour code the terminal was sent.
std::string LastColourCode(const std::string& output) {
  static const std::regex sgr("\x1b\\[[0-9;]*m");
  std::string last;
  for (auto it = std::sregex_iterator(output.begin(), output.end(), sgr);
       it != std::sregex_iterator(); ++it)
    last = it->str();
  return last;
}

class Session {
 public:
  explicit Session(const std::string& program = DEMO, const std::vector<std::string>& args = {}) {
    terminal.Show("$ run\r\n");
    before = terminal.Settings();
    terminal.Start(program, args);
    EXPECT_TRUE(terminal.WaitForKeyWait());
  }
  bool Press(std::string_view bytes) {
    terminal.Type(bytes);
    return terminal.WaitForKeyWait();
  }
  // At a step gate in the middle of a run, light grey set.
  void ToAStepGate() {
    ASSERT_TRUE(Press("4"));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(Press(" "));
  }
  void ExpectRestored() {
    EXPECT_TRUE(SameSettings(before, terminal.Settings())) << "termios as found";
    EXPECT_EQ(LastColourCode(terminal.output()), "\x1b[m") << "default colours";
    EXPECT_TRUE(terminal.KeyboardModesUndone());
  }

  PtyTerminal terminal{80, 25};
  termios before{};
};

TEST(ExitPaths, NormalEnd) {
  Session run;
  ASSERT_TRUE(run.Press("3"));
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(run.Press(" "));
  run.terminal.Type("\r");
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  run.ExpectRestored();
}

TEST(ExitPaths, EscAtAStepGate) {
  Session run;
  run.ToAStepGate();
  run.terminal.Type("\x1b");
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 100);
  run.ExpectRestored();
}

struct SignalCase {
  char key;  // the key typed, or 0 for a kill
  int sig;
};

void PrintTo(const SignalCase& c, std::ostream* os) {
  *os << "SIG" << sigabbrev_np(c.sig);
}

class SignalPaths : public ::testing::TestWithParam<SignalCase> {};

TEST_P(SignalPaths, RestoreThenDieByTheSameSignal) {
  Session run;
  run.ToAStepGate();
  if (GetParam().key != 0) {
    run.terminal.TypeSignalKey(GetParam().key);
  } else {
    run.terminal.Signal(GetParam().sig);
  }
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), GetParam().sig);
  run.ExpectRestored();
}

INSTANTIATE_TEST_SUITE_P(Runtime, SignalPaths,
                         ::testing::Values(SignalCase{'\x03', SIGINT}, SignalCase{'\x1c', SIGQUIT},
                                           SignalCase{0, SIGTERM}, SignalCase{0, SIGHUP},
                                           SignalCase{0, SIGINT}),
                         [](const ::testing::TestParamInfo<SignalCase>& param_info) {
                           const char* how = param_info.param.key == '\x03'   ? "CtrlC"
                                             : param_info.param.key == '\x1c' ? "CtrlBackslash"
                                                                              : "Kill";
                           return std::string(how) + "_" + sigabbrev_np(param_info.param.sig);
                         });

TEST(InheritedSignals, IgnoredAtStartStayIgnored) {
  // As under nohup, or as a background job of a non-interactive shell.
  Session run("/bin/sh", {"-c", "trap '' INT QUIT HUP; exec " DEMO});
  run.ToAStepGate();
  run.terminal.TypeSignalKey('\x03');
  run.terminal.TypeSignalKey('\x1c');
  run.terminal.Signal(SIGHUP);
  // Still at the gate: Esc ends it, and the terminal is restored as ever.
  run.terminal.Type("\x1b");
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status)) << "died by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 100);
  run.ExpectRestored();
}

struct FaultCase {
  const char* mode;
  int status;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.mode;
}

class FaultPaths : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultPaths, RestoreThenReportThenExitWithTheErrorNumber) {
  Session run(FAULT_SAMPLE, {GetParam().mode});
  EXPECT_EQ(run.terminal.Row(2), "armed");
  run.terminal.Type(" ");
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), GetParam().status);
  EXPECT_TRUE(SameSettings(run.before, run.terminal.Settings()));
  // Written after the terminal was restored: its line ends are the terminal's again.
  const std::string output = run.terminal.output();
  const std::string address = "[0-9A-F]{" + std::to_string(sizeof(void*) * 2) + "}";
  const std::regex report("Runtime error " + std::to_string(GetParam().status) + " at \\$(" +
                          address + ")\r\n  \\$\\1\r\n(  \\$" + address + "\r\n)*\r\n$");
  EXPECT_TRUE(std::regex_search(output, report))
      << ::testing::PrintToString(output.substr(output.size() > 400 ? output.size() - 400 : 0));
  EXPECT_LT(output.rfind("\x1b[m"), output.find("Runtime error")) << "colours reset first";
}

INSTANTIATE_TEST_SUITE_P(Runtime, FaultPaths,
                         ::testing::Values(FaultCase{"segv", 216}, FaultCase{"bus", 216},
                                           FaultCase{"fpe", 200}, FaultCase{"ill", 217},
                                           FaultCase{"abort", 217}, FaultCase{"ioerror", 103}),
                         [](const ::testing::TestParamInfo<FaultCase>& param_info) {
                           return std::string(param_info.param.mode);
                         });

TEST(EndOfInput, AtTheMenuEndsAsEscWouldWithoutTouchingTheTerminal) {
  PtyTerminal terminal(80, 25);
  const termios before = terminal.Settings();
  terminal.Start(DEMO, {}, "/dev/null");
  const int status = terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 100);
  EXPECT_EQ(terminal.Text(1, 24, 16), "breaking program");
  EXPECT_TRUE(SameSettings(before, terminal.Settings()));
  EXPECT_EQ(terminal.output().find("\x1b[6n"), std::string::npos) << "no query it cannot read";
}

TEST(EndOfInput, InTheFinalLineEndsItAsEnter) {
  const std::string keys = ::testing::TempDir() + "keys_without_enter";
  std::ofstream(keys) << "3" << std::string(30, ' ') << "bye";
  PtyTerminal terminal(80, 25);
  terminal.Start(DEMO, {}, keys);
  const int status = terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(terminal.Row(23), "Total movings: 0");
  EXPECT_EQ(terminal.Row(24), "bye");
  EXPECT_EQ(terminal.CursorRow(), 25) << "the line was ended";
  std::remove(keys.c_str());
}

// The peak memory of process PID, in kB.
long long PeakMemoryKb(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(file, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6));
  return -1;
}

// Pastes BYTES of text in pieces, taking in what the program writes meanwhile; true once it
// waits for a key again.
bool Paste(PtyTerminal& terminal, std::size_t bytes) {
  const std::string piece(1024, 'x');
  for (std::size_t done = 0; done < bytes; done += piece.size()) {
    terminal.Type(piece);
    terminal.Drain();
  }
  return terminal.WaitForKeyWait(std::chrono::seconds(60));
}

// AddressSanitizer keeps freed memory in quarantine: under it the peak says nothing.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPeakMeasured = false;
#elif defined(__has_feature)
constexpr bool kPeakMeasured = !__has_feature(address_sanitizer);
#else
constexpr bool kPeakMeasured = true;
#endif

TEST(PasteFlood, AMegabyteAtAStepGateAndAtTheFinalLineKeepsMemoryFlat) {
  const long long kFlatKb = kPeakMeasured ? 2048 : LLONG_MAX;
  Session run;
  ASSERT_TRUE(run.Press("1"));
  long long before = PeakMemoryKb(run.terminal.pid());
  ASSERT_TRUE(Paste(run.terminal, 1 << 20));
  EXPECT_LT(PeakMemoryKb(run.terminal.pid()) - before, kFlatKb) << "at a step gate";
  EXPECT_EQ(run.terminal.CursorColumn(), 41) << "the paste passed no gate";
  for (int gate = 0; gate < 30; ++gate) ASSERT_TRUE(run.Press(" "));
  ASSERT_EQ(run.terminal.Row(run.terminal.CursorRow() - 1), "Total movings: 0");

  before = PeakMemoryKb(run.terminal.pid());
  ASSERT_TRUE(Paste(run.terminal, 1 << 20));
  EXPECT_LT(PeakMemoryKb(run.terminal.pid()) - before, kFlatKb) << "at the final line";
  run.terminal.Type("\r");
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(EndOfInput, HangUpAtAStepGateEndsTheRunWithItsOutputLost) {
  // The shell that would pass the hang-up on as SIGHUP ignores it here: the program sees
  // its input end, and then its output gone.
  Session run;
  run.ToAStepGate();
  run.terminal.HangUp();
  const int status = run.terminal.WaitExit(std::chrono::seconds(2));
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 101);
}

TEST(JobControl, SuspendRestoresAndResumeDrawsFromWhereTheCursorNowIs) {
  Session run;
  ASSERT_TRUE(run.Press("4"));
  ASSERT_TRUE(run.Press(" "));
  ASSERT_EQ(run.terminal.CursorRow(), 10);
  run.terminal.TypeSignalKey('\x1a');
  ASSERT_TRUE(run.terminal.WaitStopped());
  run.ExpectRestored();

  // The shell leaves its prompt's colour set.
  run.terminal.Show("\r\n[1]+  Stopped                 insertion-sort-demo\r\n\x1b[35m$ fg\r\n");
  run.terminal.Signal(SIGCONT);
  ASSERT_TRUE(run.terminal.WaitForKeyWait());
  EXPECT_FALSE(SameSettings(run.before, run.terminal.Settings())) << "raw again";
  ASSERT_TRUE(run.Press(" "));
  EXPECT_EQ(run.terminal.Row(12), "$ fg");
  EXPECT_EQ(run.terminal.Row(13), "i = 1");
  EXPECT_EQ(run.terminal.Row(14), "  44  55  12  42  94  18   6  67  38  78");
  EXPECT_EQ(run.terminal.Cell(4, 14).foreground, -1) << "colours sent again";
  ASSERT_TRUE(run.Press(" "));
  EXPECT_EQ(run.terminal.Text(41, 14, 5), "i = 2");

  run.terminal.Type("\x1b");
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 100);
  run.ExpectRestored();
}

TEST(JobControl, AResumeAtTheFinalLineGoesOnWhereTheCursorNowIs) {
  Session run;
  ASSERT_TRUE(run.Press("1"));
  for (int gate = 0; gate < 30; ++gate) ASSERT_TRUE(run.Press(" "));
  ASSERT_TRUE(run.Press("ab"));
  run.terminal.TypeSignalKey('\x1a');
  ASSERT_TRUE(run.terminal.WaitStopped());
  // The shell clears the screen before fg.
  run.terminal.Show("\x1b[H\x1b[2J$ fg\r\n");
  run.terminal.Signal(SIGCONT);
  ASSERT_TRUE(run.terminal.WaitForKeyWait());
  EXPECT_EQ(run.terminal.Row(2), "ab") << "the text typed so far, shown again";
  ASSERT_TRUE(run.Press("c"));
  EXPECT_EQ(run.terminal.Row(2), "abc");
  EXPECT_EQ(run.terminal.CursorRow(), 2);
  EXPECT_EQ(run.terminal.CursorColumn(), 4);
  run.terminal.Type("\r");
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(JobControl, ATerminalThatDoesNotAnswerIsAskedOnce) {
  PtyTerminal terminal(80, 25);
  terminal.AnswerQueries(false);
  terminal.Start(DEMO);
  ASSERT_TRUE(terminal.WaitForKeyWait());
  terminal.Type("4");
  ASSERT_TRUE(terminal.WaitForKeyWait());
  terminal.TypeSignalKey('\x1a');
  ASSERT_TRUE(terminal.WaitStopped());
  terminal.Signal(SIGCONT);
  ASSERT_TRUE(terminal.WaitForKeyWait());
  const std::string& output = terminal.output();
  EXPECT_EQ(output.find("\x1b[6n"), output.rfind("\x1b[6n")) << "one query, so no second wait";
  terminal.Type(" ");
  ASSERT_TRUE(terminal.WaitForKeyWait());
  // Drawn on from the start of the bottom row, where the cursor stood.
  EXPECT_EQ(terminal.Row(22), "i = 1");
  EXPECT_EQ(terminal.Text(1, 23, 40), "      55  12  42  94  18   6  67  38  78");
  EXPECT_EQ(terminal.CursorRow(), 25);
}

TEST(Resize, ChangesNothingAndBreaksNothing) {
  Session run;
  ASSERT_TRUE(run.Press("4"));
  run.terminal.Resize(100, 40);
  int gates_passed = 0;
  while (run.terminal.Row(run.terminal.CursorRow() - 1).rfind("Total movings: ", 0) != 0) {
    ASSERT_TRUE(run.Press(" "));
    ASSERT_LT(++gates_passed, 100);
  }
  EXPECT_EQ(gates_passed, 70);
  EXPECT_EQ(run.terminal.Row(24), "Total movings: 21");
}

// The demonstration with standard input and output of the test's choosing, outside any
// terminal.
class PipedRun {
 public:
  PipedRun(int in, int out) {
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in, 0);
      dup2(out, 1);
      execl(DEMO, DEMO, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~PipedRun() {
    if (Alive()) kill(pid_, SIGKILL);
    WaitExit(std::chrono::seconds(10));
  }
  pid_t pid() const { return pid_; }
  bool Alive() {
    if (!exited_ && waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
    return !exited_;
  }
  // Looks at the program until CONDITION holds or it has ended; false on time-out.
  template <typename Condition>
  bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
    const auto give_up = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < give_up) {
      if (!Alive() || condition()) return true;
      const timespec moment{0, 200'000};
      nanosleep(&moment, nullptr);
    }
    return false;
  }
  // The exit status, or -1 while it is still running after TIMEOUT.
  int WaitExit(std::chrono::milliseconds timeout) {
    WaitUntil([] { return false; }, timeout);
    return exited_ ? status_ : -1;
  }

 private:
  pid_t pid_;
  int status_ = 0;
  bool exited_ = false;
};

TEST(BlockedOutput, ADeathSignalStillEndsTheProgramAtOnce) {
  // The final line's typing and erasing fill a pipe that nobody reads.
  const std::string keys = ::testing::TempDir() + "keys_filling_the_output";
  {
    std::ofstream file(keys);
    file << "1" << std::string(30, ' ');
    for (int i = 0; i < 100000; ++i) file << "a\x7f";
  }
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const int in = open(keys.c_str(), O_RDONLY);
  PipedRun run(in, out[1]);
  close(in);
  close(out[1]);
  const int capacity = fcntl(out[0], F_GETPIPE_SZ);
  // A write waits when the pipe has no room for all of it, which may be a few bytes short
  // of full.
  auto blocked = [&] {
    int queued = 0;
    return ioctl(out[0], FIONREAD, &queued) == 0 && queued + PIPE_BUF > capacity &&
           WaitsToWrite(run.pid());
  };
  ASSERT_TRUE(run.WaitUntil(blocked, std::chrono::seconds(30)) && run.Alive());
  kill(run.pid(), SIGTERM);
  const int status = run.WaitExit(std::chrono::seconds(5));  // a safety net: it dies at once
  close(out[0]);
  std::remove(keys.c_str());
  ASSERT_NE(status, -1) << "still alive, blocked writing";
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
}

TEST(NonBlockingInput, NothingToReadYetIsNoEndOfInput) {
  int in[2];
  ASSERT_EQ(pipe(in), 0);
  fcntl(in[0], F_SETFL, O_NONBLOCK);
  const int out = open("/dev/null", O_WRONLY);
  PipedRun run(in[0], out);
  close(in[0]);
  close(out);
  ASSERT_TRUE(run.WaitUntil([&] { return WaitsForAKey(run.pid()); }, std::chrono::seconds(10)));
  ASSERT_TRUE(run.Alive()) << "ended before any key was written";
  const std::string keys = "3" + std::string(30, ' ') + "\n";
  ASSERT_EQ(write(in[1], keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  close(in[1]);
  const int status = run.WaitExit(std::chrono::seconds(10));
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0) << "a whole run";
}

// The demonstration of data set 3 from a file of keys, its standard output OUTPUT (closed
// when -1) and its standard error into the file SAID; returns its wait status.
int RunWithOutput(int output, const std::string& said) {
  const std::string keys = ::testing::TempDir() + "lost_output_keys";
  std::ofstream(keys) << "3" << std::string(30, ' ') << "\r";
  const pid_t child = fork();
  if (child == 0) {
    // Everything opened first, so that no file takes the place of a closed output.
    const int in = open(keys.c_str(), O_RDONLY);
    const int err = open(said.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(in, 0);
    dup2(err, 2);
    if (output >= 0) {
      dup2(output, 1);
    } else {
      close(1);
    }
    execl(DEMO, DEMO, nullptr);
    _exit(127);
  }
  int status = -1;
  waitpid(child, &status, 0);
  std::remove(keys.c_str());
  return status;
}

// An output that is gone for good ends the run at once, never as a success: a pipe whose
// reader has gone by SIGPIPE, as for any program; a full disk or a closed output with the
// status 101 and one line on standard error.
TEST(LostOutput, EndsTheRunAtOnceAndNeverAsASuccess) {
  const std::string said = ::testing::TempDir() + "lost_output_stderr";
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  close(ends[0]);  // the reader has gone
  const int closed_pipe = RunWithOutput(ends[1], said);
  close(ends[1]);
  EXPECT_TRUE(WIFSIGNALED(closed_pipe) && WTERMSIG(closed_pipe) == SIGPIPE) << closed_pipe;

  const int full = open("/dev/full", O_WRONLY);
  const struct {
    int output;
    const char* said;
  } cases[] = {
      {full, "the output is lost: No space left on device"},
      {-1, "the output is lost: Bad file descriptor"},
  };
  for (const auto& c : cases) {
    const int status = RunWithOutput(c.output, said);
    ASSERT_TRUE(WIFEXITED(status)) << c.said;
    EXPECT_EQ(WEXITSTATUS(status), 101) << c.said;
    std::ifstream file(said);
    std::string line;
    std::getline(file, line);
    EXPECT_NE(line.find(c.said), std::string::npos) << line;
    EXPECT_FALSE(std::getline(file, line)) << "one line";
  }
  close(full);
  std::remove(said.c_str());
}

}  // namespace
}  // namespace e2e
