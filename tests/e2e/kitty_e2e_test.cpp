// On a terminal that speaks the kitty keyboard protocol: the program finds out at start,
// takes exact key events (Alt composition on the keypad, Esc without waiting), and takes
// the protocol's flags off again on every way out and on a stop.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <string>

#include "kitty_events.hpp"
#include "pty_terminal.hpp"

namespace e2e {
namespace {

constexpr int kFlags = 31;

using namespace kitty;

// Alt held, keypad DIGITS, Alt let go.
std::string AltComposition(const std::string& digits) {
  std::string bytes = Press(kLeftAlt, kAltMods);
  for (char digit : digits) bytes += Tap(kKeypad0 + (digit - '0'), kAltMods);
  return bytes + Release(kLeftAlt);
}

class KittyTerminal {
 public:
  explicit KittyTerminal(const std::string& program, const std::vector<std::string>& args = {}) {
    terminal.SpeakKittyKeyboard(true);
    terminal.Show("$ run\r\n");
    before = terminal.Settings();
    terminal.Start(program, args);
    EXPECT_TRUE(terminal.WaitForKeyWait());
  }
  // Types BYTES and returns the row the program wrote on.
  std::string Line(const std::string& bytes) {
    const int row = terminal.CursorRow();
    terminal.Type(bytes);
    EXPECT_TRUE(terminal.WaitForKeyWait());
    return terminal.Row(row);
  }
  void ExpectLeftAsFound() {
    EXPECT_EQ(terminal.keyboard_flags(), 0) << "flags popped";
    EXPECT_TRUE(SameSettings(before, terminal.Settings())) << "termios as found";
    EXPECT_TRUE(terminal.KeyboardModesUndone());
  }

  PtyTerminal terminal{80, 25};
  termios before{};
};

TEST(KittyKeyboard, DetectedAtStartAndFlagsPushed) {
  KittyTerminal run(CONSOLE_KEYS);
  EXPECT_EQ(run.terminal.keyboard_flags(), kFlags);
  EXPECT_EQ(run.terminal.keyboard_pushes(), 1);
  EXPECT_NE(run.terminal.output().find("\x1b[6n\x1b[?u\x1b[c"), std::string::npos)
      << "the flags query rides with the cursor query, the attributes query behind it";
}

TEST(KittyKeyboard, LegacyTerminalGetsNoPush) {
  PtyTerminal terminal(80, 25);
  terminal.Start(CONSOLE_KEYS);
  ASSERT_TRUE(terminal.WaitForKeyWait());
  EXPECT_EQ(terminal.output().find("\x1b[>"), std::string::npos);
  terminal.Type("\x1b[100;3u");
  ASSERT_TRUE(terminal.WaitForKeyWait());
  EXPECT_EQ(terminal.Row(1), "0 32") << "CSI u stays the legacy form of Alt+d";
}

TEST(KittyKeyboard, SilentTerminalCostsOneBoundedWaitAndGetsNoPush) {
  PtyTerminal terminal(80, 25);
  terminal.AnswerQueries(false);
  terminal.SpeakKittyKeyboard(true);
  terminal.Start(CONSOLE_KEYS);
  ASSERT_TRUE(terminal.WaitForKeyWait()) << "the wait for the answers is bounded";
  EXPECT_EQ(terminal.keyboard_pushes(), 0);
}

TEST(KittyKeyboard, KeysTypedBeforeTheRepliesStayKeysInOrder) {
  PtyTerminal terminal(80, 25);
  terminal.SpeakKittyKeyboard(true);
  terminal.Type("ab\x1b[A");
  terminal.Start(CONSOLE_KEYS);
  ASSERT_TRUE(terminal.WaitForKeyWait());
  // The terminal's line discipline echoed them before the program took over.
  EXPECT_EQ(terminal.Row(1), "ab^[[A97");
  EXPECT_EQ(terminal.Row(2), "98");
  EXPECT_EQ(terminal.Row(3), "0 72");
  EXPECT_EQ(terminal.keyboard_flags(), kFlags);
}

TEST(KittyKeyboard, AltCompositionOnTheKeypad) {
  KittyTerminal run(CONSOLE_KEYS);
  EXPECT_EQ(run.Line(AltComposition("300")), "44");
  // Nothing comes before Alt is let go.
  const int row = run.terminal.CursorRow();
  run.terminal.Type(Press(kLeftAlt, kAltMods) + Tap(kKeypad0 + 6, kAltMods));
  ASSERT_TRUE(run.terminal.WaitForKeyWait());
  EXPECT_EQ(run.terminal.Row(row), "");
  EXPECT_EQ(run.Line(Tap(kKeypad0 + 6, kAltMods) + Release(kLeftAlt)), "66");
}

TEST(KittyKeyboard, LoneModifiersGiveNothingAndCyrillicTypes) {
  KittyTerminal run(CONSOLE_KEYS);
  EXPECT_EQ(run.Line(Press(kLeftAlt, kAltMods) + Tap('d', kAltMods) + Release(kLeftAlt) +
                     Tap(57441, 2) + Tap('x')),
            "0 32")
      << "left Alt with D; Shift alone gives nothing";
  EXPECT_EQ(run.terminal.Row(run.terminal.CursorRow() - 1), "120");
  EXPECT_EQ(run.Line(Tap(1099)), "235") << "Cyrillic ы";
}

// That the Esc needs no decision time is the decoder's (an Esc event leaves nothing
// pending); bench/run measures the time to exit.
TEST(KittyKeyboard, EscEventAtAGateEndsTheRun) {
  KittyTerminal run(DEMO);
  run.terminal.Type(Tap('4'));
  ASSERT_TRUE(run.terminal.WaitForKeyWait());
  run.terminal.Type(Press(27));
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 100);
  run.ExpectLeftAsFound();
}

TEST(KittyKeyboard, FlagsPoppedAfterACompleteRun) {
  KittyTerminal run(DEMO);
  run.terminal.Type(Tap('3'));
  ASSERT_TRUE(run.terminal.WaitForKeyWait());
  for (int gate = 0; gate < 30; ++gate) {
    run.terminal.Type(Tap(' '));
    ASSERT_TRUE(run.terminal.WaitForKeyWait());
  }
  EXPECT_EQ(run.terminal.Row(run.terminal.CursorRow() - 1), "Total movings: 0");
  run.terminal.Type(Tap('o') + Tap('k') + Tap(13));
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(run.terminal.Row(run.terminal.CursorRow() - 1), "ok");
  run.ExpectLeftAsFound();
}

struct SignalKey {
  const char* name;
  int code;  // the key typed with Ctrl, 0 for a kill
  int sig;
  int base = 0;  // the key's base-layout code, when another layout is active
};

void PrintTo(const SignalKey& key, std::ostream* os) {
  *os << key.name;
}

class KittySignals : public ::testing::TestWithParam<SignalKey> {};

TEST_P(KittySignals, SignalKeysStillSignalAndFlagsArePopped) {
  KittyTerminal run(DEMO);
  run.terminal.Type(Tap('4'));
  ASSERT_TRUE(run.terminal.WaitForKeyWait());
  if (GetParam().base != 0) {
    run.terminal.Type("\x1b[" + std::to_string(GetParam().code) +
                      "::" + std::to_string(GetParam().base) + ";5u");
  } else if (GetParam().code != 0) {
    run.terminal.Type(Press(GetParam().code, kCtrlMods));
  } else {
    run.terminal.Signal(GetParam().sig);
  }
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(WTERMSIG(status), GetParam().sig);
  run.ExpectLeftAsFound();
}

INSTANTIATE_TEST_SUITE_P(Kitty, KittySignals,
                         ::testing::Values(SignalKey{"CtrlC", 'c', SIGINT},
                                           // The C key under a Russian layout: с.
                                           SignalKey{"CtrlCInRussian", 1089, SIGINT, 'c'},
                                           SignalKey{"CtrlBackslash", '\\', SIGQUIT},
                                           SignalKey{"Term", 0, SIGTERM},
                                           SignalKey{"Hup", 0, SIGHUP}),
                         [](const ::testing::TestParamInfo<SignalKey>& param_info) {
                           return std::string(param_info.param.name);
                         });

TEST(KittyKeyboard, FaultReportComesAfterTheFlagsArePopped) {
  KittyTerminal run(FAULT_SAMPLE, {"segv"});
  run.terminal.Type(Tap(' '));
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 216);
  run.ExpectLeftAsFound();
  EXPECT_LT(run.terminal.output().rfind("\x1b[<u"), run.terminal.output().find("Runtime error"));
}

TEST(KittyKeyboard, CtrlZPopsTheFlagsAndResumePushesThemAgain) {
  KittyTerminal run(DEMO);
  run.terminal.Type(Tap('4'));
  ASSERT_TRUE(run.terminal.WaitForKeyWait());
  run.terminal.Type(Press('z', kCtrlMods));
  ASSERT_TRUE(run.terminal.WaitStopped());
  run.ExpectLeftAsFound();

  run.terminal.Show("\r\n$ fg\r\n");
  run.terminal.Signal(SIGCONT);
  ASSERT_TRUE(run.terminal.WaitForKeyWait());
  EXPECT_EQ(run.terminal.keyboard_flags(), kFlags);
  EXPECT_EQ(run.terminal.keyboard_pushes(), 2);
  run.terminal.Type(Tap(' '));
  ASSERT_TRUE(run.terminal.WaitForKeyWait());
  EXPECT_EQ(run.terminal.Row(run.terminal.CursorRow() - 3), "i = 1");
  run.terminal.Type(Press(27));
  const int status = run.terminal.WaitExit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 100);
  run.ExpectLeftAsFound();
}

}  // namespace
}  // namespace e2e
