// wire-bench: runs the demonstration in a pseudo-terminal whose screen is libvterm and
// prints what it costs on the wire and in waiting, one "name: value" line per figure.
#include <unistd.h>
#include <vterm.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "console/console.hpp"
#include "console/memory/memory_console.hpp"
#include "console/posix/charset.hpp"
#include "pty_terminal.hpp"
#include "visualizer/driver.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 5;      // whole runs of data set "2"
constexpr int kEscRuns = 10;  // runs ended with Esc
constexpr auto kIdle = std::chrono::seconds(5);

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// A field of one of the program's /proc files ("syscw:" in io, "voluntary_ctxt_switches:"
// in status).
long long ProcField(pid_t pid, const char* file, const std::string& name) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(name, 0) == 0) return std::stoll(line.substr(name.size()));
  }
  return -1;
}

// Time the program has spent on a processor, in nanoseconds.
long long CpuNs(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
  long long ns = -1;
  in >> ns;
  return ns;
}

long long ContextSwitches(pid_t pid) {
  return ProcField(pid, "status", "voluntary_ctxt_switches:") +
         ProcField(pid, "status", "nonvoluntary_ctxt_switches:");
}

// UTF-8 bytes of the characters the program draws in a whole run of data set "2" that
// passes GATES step gates: every cell the layer writes, counted on an in-memory console that
// takes one key per wait, as the terminal's run does.
long long DrawnBytes(int gates) {
  class Counting : public console::MemoryConsole {
   public:
    Counting() : MemoryConsole(80, 25, console::Rect{0, 0, 79, 24}, 7) {}
    void WriteCell(console::Coord where, uint8_t character, uint16_t attribute) override {
      static const auto charset = console::posix::LoadCharset("UTF-8");
      bytes += static_cast<long long>(charset.glyphs[character].size());
      MemoryConsole::WriteCell(where, character, attribute);
    }
    long long bytes = 0;
  };
  static std::string keys;
  keys = "2" + std::string(static_cast<std::size_t>(gates), ' ') + "\r";
  Counting screen;
  screen.OnWait([](console::MemoryConsole& console) {
    if (keys.empty()) return;
    console.PushKey(console::MakeKey(0, static_cast<uint8_t>(keys[0]), 0, 0));
    keys.erase(0, 1);
  });
  console::SCANCODE = 0;
  console::SPECIALKEY = false;
  console::Init(screen);
  visualizer::RunDemo();
  return screen.bytes;
}

bool AtFinalWait(const e2e::PtyTerminal& terminal) {
  return terminal.Row(terminal.CursorRow() - 1).rfind("Total movings: ", 0) == 0;
}

struct Figures {
  std::vector<double> bytes_ratio;
  long long max_writes_per_wait = 0;
  std::vector<double> run_cpu_ms;
  std::vector<double> space_to_frame_ms;
  std::vector<double> startup_ms;
  std::vector<double> esc_to_exit_ms;
  double idle_wakeups = 0;
  double idle_cpu_ms = 0;
  int gates = 0;
};

bool Fail(const char* what) {
  std::fprintf(stderr, "wire-bench: %s\n", what);
  return false;
}

// One whole run of data set "2": the wire, the writes, the CPU and the answer to Space.
bool WholeRun(Figures& figures) {
  e2e::PtyTerminal terminal(80, 25);
  const Clock::time_point started = Clock::now();
  terminal.Start(DEMO);
  if (!terminal.WaitForKeyWait()) return Fail("no menu");
  figures.startup_ms.push_back(Ms(terminal.last_output() - started));
  const pid_t pid = terminal.pid();
  long long writes = ProcField(pid, "io", "syscw:");
  auto press = [&](const char* key) {
    const Clock::time_point typed = Clock::now();
    terminal.Type(key);
    if (!terminal.WaitForKeyWait()) return false;
    const long long now_writes = ProcField(pid, "io", "syscw:");
    figures.max_writes_per_wait = std::max(figures.max_writes_per_wait, now_writes - writes);
    if (now_writes - writes > 1)
      std::fprintf(stderr, "key %s: %lld writes\n", key, now_writes - writes);
    writes = now_writes;
    if (*key == ' ' && terminal.last_output() > typed)
      figures.space_to_frame_ms.push_back(Ms(terminal.last_output() - typed));
    return true;
  };
  if (!press("2")) return Fail("no first step gate");
  int gates = 1;
  while (!AtFinalWait(terminal)) {
    if (!press(" ")) return Fail("a step gate did not come back");
    if (++gates > 1000) return Fail("no end of the run");
  }
  figures.gates = gates - 1;
  figures.run_cpu_ms.push_back(static_cast<double>(CpuNs(pid)) / 1e6);
  terminal.Type("\r");
  if (terminal.WaitExit() < 0) return Fail("no exit");
  figures.bytes_ratio.push_back(static_cast<double>(terminal.output().size()) /
                                static_cast<double>(DrawnBytes(figures.gates)));
  return true;
}

// Waiting at a step gate: wake-ups and CPU in five seconds.
bool Idle(Figures& figures) {
  e2e::PtyTerminal terminal(80, 25);
  terminal.Start(DEMO);
  if (!terminal.WaitForKeyWait()) return Fail("no menu");
  terminal.Type("2");
  if (!terminal.WaitForKeyWait()) return Fail("no first step gate");
  const pid_t pid = terminal.pid();
  const long long switches = ContextSwitches(pid);
  const long long cpu = CpuNs(pid);
  std::this_thread::sleep_for(kIdle);
  figures.idle_wakeups = static_cast<double>(ContextSwitches(pid) - switches);
  figures.idle_cpu_ms = static_cast<double>(CpuNs(pid) - cpu) / 1e6;
  terminal.Type("\x1b");
  return terminal.WaitExit() >= 0 || Fail("no exit after Esc");
}

// A lone Esc at a step gate, until the process has ended.
bool EscToExit(Figures& figures) {
  e2e::PtyTerminal terminal(80, 25);
  terminal.Start(DEMO);
  if (!terminal.WaitForKeyWait()) return Fail("no menu");
  terminal.Type("2");
  if (!terminal.WaitForKeyWait()) return Fail("no first step gate");
  terminal.Type(" ");
  if (!terminal.WaitForKeyWait()) return Fail("no second step gate");
  const Clock::time_point typed = Clock::now();
  terminal.Type("\x1b");
  if (terminal.WaitExit() < 0) return Fail("no exit after Esc");
  figures.esc_to_exit_ms.push_back(Ms(Clock::now() - typed));
  return true;
}

// Instructions of a whole run of data set "2" in an 80 x ROWS terminal, the whole process
// counted by callgrind; -1 when valgrind cannot be run. With KEEP_CALLGRIND set, callgrind's
// profile stays in /tmp for callgrind_annotate.
long long RunInstructions(int rows) {
  const std::string out =
      "/tmp/wire-bench-callgrind." + std::to_string(getpid()) + "." + std::to_string(rows);
  e2e::PtyTerminal terminal(80, rows);
  terminal.Start("/usr/bin/valgrind", {"--tool=callgrind", "--callgrind-out-file=" + out, DEMO});
  const auto patience = std::chrono::minutes(2);  // valgrind starts slowly
  if (!terminal.WaitForKeyWait(patience)) return Fail("no menu under valgrind"), -1;
  terminal.Type("2");
  while (terminal.WaitForKeyWait(patience) && !AtFinalWait(terminal)) terminal.Type(" ");
  terminal.Type("\r");
  if (terminal.WaitExit(patience) < 0) return Fail("no exit under valgrind"), -1;
  std::ifstream file(out);
  std::string line;
  long long total = -1;
  while (std::getline(file, line))
    if (line.rfind("totals: ", 0) == 0) total = std::stoll(line.substr(8));
  if (std::getenv("KEEP_CALLGRIND") == nullptr) std::remove(out.c_str());
  return total;
}

}  // namespace

// With --instructions, only the figures of callgrind.
int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--instructions") {
    std::printf("run_instructions: %lld\n", RunInstructions(25));
    std::printf("run_instructions_200_rows: %lld\n", RunInstructions(200));
    return 0;
  }
  Figures figures;
  for (int run = 0; run < kRuns; ++run)
    if (!WholeRun(figures)) return 1;
  for (int run = 0; run < kEscRuns; ++run)
    if (!EscToExit(figures)) return 1;
  if (!Idle(figures)) return 1;

  std::printf("step_gates: %d\n", figures.gates);
  std::printf("bytes_ratio: %.3f\n", Median(figures.bytes_ratio));
  std::printf("writes_per_wait: %lld\n", figures.max_writes_per_wait);
  std::printf("run_cpu_ms: %.1f\n", Median(figures.run_cpu_ms));
  std::printf("idle_wakeups: %.0f\n", figures.idle_wakeups);
  std::printf("idle_cpu_ms: %.3f\n", figures.idle_cpu_ms);
  std::printf("esc_to_exit_ms: %.1f\n", Median(figures.esc_to_exit_ms));
  std::printf("space_to_frame_ms: %.3f\n", Median(figures.space_to_frame_ms));
  std::printf("startup_ms: %.1f\n", Median(figures.startup_ms));
  std::printf("run_instructions: %lld\n", RunInstructions(25));
  std::printf("run_instructions_200_rows: %lld\n", RunInstructions(200));
  return 0;
}
