#include "pty_terminal.hpp"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vterm.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "console/posix/charset.hpp"
#include "runtime/platform.hpp"

namespace e2e {
namespace {

std::string CellText(const VTermScreenCell& cell) {
  std::string text;
  if (cell.chars[0] == 0) return " ";
  for (int k = 0; k < VTERM_MAX_CHARS_PER_CELL && cell.chars[k] != 0; ++k)
    console::AppendUtf8(cell.chars[k], text);
  return text;
}

int ColourIndex(const VTermColor& colour, bool foreground) {
  if (foreground ? VTERM_COLOR_IS_DEFAULT_FG(&colour) : VTERM_COLOR_IS_DEFAULT_BG(&colour))
    return -1;
  if (VTERM_COLOR_IS_INDEXED(&colour)) return colour.indexed.idx;
  return -2;  // an RGB colour: the program never sends one
}

}  // namespace

bool SameSettings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::equal(a.c_cc, a.c_cc + NCCS, b.c_cc);
}

int PtyTerminal::PushLine(int columns, const void* cells, void* user) {
  const auto* row = static_cast<const VTermScreenCell*>(cells);
  std::string line;
  for (int i = 0; i < columns; ++i) line += CellText(row[i]);
  while (!line.empty() && line.back() == ' ') line.pop_back();
  static_cast<PtyTerminal*>(user)->scrollback_.push_back(line);
  return 1;
}

void PtyTerminal::Answer(const char* bytes, std::size_t size, void* user) {
  auto* self = static_cast<PtyTerminal*>(user);
  if (!self->answer_queries_ || self->master_ < 0) return;
  runtime::WriteAll(self->master_, {bytes, size});
  self->sent_ += static_cast<long long>(size);
}

PtyTerminal::PtyTerminal(int columns, int rows) : columns_(columns), rows_(rows) {
  vterm_ = vterm_new(rows, columns);
  vterm_set_utf8(vterm_, 1);
  screen_ = vterm_obtain_screen(vterm_);
  static VTermScreenCallbacks callbacks{};
  callbacks.sb_pushline = [](int cols, const VTermScreenCell* cells, void* user) {
    return PushLine(cols, cells, user);
  };
  vterm_screen_set_callbacks(screen_, &callbacks, this);
  vterm_screen_reset(screen_, 1);
  vterm_output_set_callback(vterm_, &PtyTerminal::Answer, this);
  winsize size{};
  size.ws_col = static_cast<unsigned short>(columns_);
  size.ws_row = static_cast<unsigned short>(rows_);
  if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0)
    throw std::runtime_error("openpty failed");
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyTerminal::~PtyTerminal() {
  if (pid_ > 0 && !exited_) kill(pid_, SIGKILL);
  if (leader_ > 0) {
    kill(leader_, SIGKILL);
    waitpid(leader_, nullptr, 0);
  }
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
  if (status_pipe_ >= 0) close(status_pipe_);
  vterm_free(vterm_);
}

void PtyTerminal::Show(std::string_view bytes) {
  vterm_input_write(vterm_, bytes.data(), bytes.size());
}

void PtyTerminal::Start(const std::string& program, const std::vector<std::string>& args,
                        const std::string& stdin_file) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");
  leader_ = fork();
  if (leader_ < 0) throw std::runtime_error("fork failed");
  if (leader_ == 0) {
    // The session leader: owns the terminal, starts the program as its foreground job and
    // passes on every change of the program's state.
    close(pipe_fds[0]);
    setsid();
    ioctl(slave_, TIOCSCTTY, 0);
    signal(SIGHUP, SIG_IGN);
    const pid_t child = fork();
    if (child == 0) {
      setpgid(0, 0);
      signal(SIGTTOU, SIG_IGN);
      tcsetpgrp(slave_, getpid());
      signal(SIGTTOU, SIG_DFL);
      signal(SIGHUP, SIG_DFL);
      const rlimit no_core{0, 0};
      setrlimit(RLIMIT_CORE, &no_core);
      const int input = stdin_file.empty() ? slave_ : open(stdin_file.c_str(), O_RDONLY);
      dup2(input, 0);
      dup2(slave_, 1);
      dup2(slave_, 2);
      close(master_);
      close(slave_);
      close(pipe_fds[1]);
      setenv("TERM", term_.c_str(), 1);
      setenv("LC_ALL", locale_.c_str(), 1);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    setpgid(child, child);
    // Only the test holds the terminal's side, so that closing it hangs the line up.
    close(master_);
    runtime::WriteAll(pipe_fds[1], {reinterpret_cast<const char*>(&child), sizeof child});
    for (;;) {
      int status = 0;
      if (waitpid(child, &status, WUNTRACED | WCONTINUED) != child) continue;
      runtime::WriteAll(pipe_fds[1], {reinterpret_cast<const char*>(&status), sizeof status});
      if (WIFEXITED(status) || WIFSIGNALED(status)) _exit(0);
    }
  }
  close(pipe_fds[1]);
  status_pipe_ = pipe_fds[0];
  if (read(status_pipe_, &pid_, sizeof pid_) != sizeof pid_) throw std::runtime_error("no child");
  fcntl(status_pipe_, F_SETFL, fcntl(status_pipe_, F_GETFL) | O_NONBLOCK);
}

bool PtyTerminal::Alive() {
  int status = 0;
  while (!exited_ && read(status_pipe_, &status, sizeof status) == sizeof status) {
    if (WIFSTOPPED(status)) {
      stopped_ = true;
    } else if (WIFCONTINUED(status)) {
      stopped_ = false;
    } else {
      exited_ = true;
      status_ = status;
    }
  }
  return !exited_;
}

void PtyTerminal::HangUp() {
  Drain();
  close(master_);
  master_ = -1;
}

void PtyTerminal::Resize(int columns, int rows) {
  winsize size{};
  size.ws_col = static_cast<unsigned short>(columns);
  size.ws_row = static_cast<unsigned short>(rows);
  ioctl(master_, TIOCSWINSZ, &size);
}

bool PtyTerminal::WaitStopped(std::chrono::milliseconds timeout) {
  const auto give_up = std::chrono::steady_clock::now() + timeout;
  while (Alive() && !stopped_ && std::chrono::steady_clock::now() < give_up) {
    Drain();
    Pause();
  }
  Drain();
  return stopped_;
}

void PtyTerminal::Type(std::string_view bytes) {
  runtime::WriteAll(master_, bytes);
  sent_ += static_cast<long long>(bytes.size());
}

void PtyTerminal::TypeSignalKey(char key) {
  runtime::WriteAll(master_, {&key, 1});
}

long long PtyTerminal::CharactersRead() const {
  std::ifstream file("/proc/" + std::to_string(pid_) + "/io");
  std::string key;
  long long value = 0;
  while (file >> key >> value)
    if (key == "rchar:") return value;
  return -1;
}

void PtyTerminal::Drain() {
  if (master_ < 0) return;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(master_, buffer, sizeof buffer);
    if (got <= 0) return;
    last_output_ = std::chrono::steady_clock::now();
    output_.append(buffer, static_cast<std::size_t>(got));
    // Answered ahead of what libvterm answers in the same output, as a terminal would in
    // the order of the queries.
    WatchKeyboardProtocol();
    vterm_input_write(vterm_, buffer, static_cast<std::size_t>(got));
  }
}

void PtyTerminal::WatchKeyboardProtocol() {
  for (;;) {
    const std::size_t esc = output_.find('\x1b', protocol_scanned_);
    if (esc == std::string::npos) {
      protocol_scanned_ = output_.size();
      return;
    }
    // CSI, one of ? > <, digits, u.
    std::size_t i = esc + 1;
    if (i < output_.size() && output_[i] != '[') {
      protocol_scanned_ = i;
      continue;
    }
    ++i;
    if (i < output_.size() && std::string_view("?><").find(output_[i]) == std::string_view::npos) {
      protocol_scanned_ = i;
      continue;
    }
    const char kind = i < output_.size() ? output_[i] : 0;
    std::size_t end = i + 1;
    while (end < output_.size() && output_[end] >= '0' && output_[end] <= '9') ++end;
    if (end >= output_.size()) {
      protocol_scanned_ = esc;  // the rest is still to come
      return;
    }
    protocol_scanned_ = end + 1;
    if (output_[end] != 'u') continue;
    const std::string digits = output_.substr(i + 1, end - i - 1);
    const int number = digits.empty() ? -1 : std::stoi(digits);
    if (kind == '?' && kitty_keyboard_ && answer_queries_) {
      const std::string reply = "\x1b[?" + std::to_string(keyboard_flags()) + "u";
      Answer(reply.data(), reply.size(), this);
    } else if (kind == '>' && kitty_keyboard_) {
      keyboard_stack_.push_back(std::max(number, 0));
      ++keyboard_pushes_;
    } else if (kind == '<' && kitty_keyboard_) {
      for (int n = std::max(number, 1); n > 0 && !keyboard_stack_.empty(); --n)
        keyboard_stack_.pop_back();
    }
  }
}

bool WaitsForAKey(pid_t pid) {
  // /proc/PID/syscall: the call's number, then its arguments in hexadecimal; the numbers
  // are the architecture's own, hence the SYS_ names.
  std::ifstream file("/proc/" + std::to_string(pid) + "/syscall");
  long number = -1;
  std::string fds, count, timeout;
  if (!(file >> number)) return false;
  file >> fds >> count >> timeout;
  const unsigned long long raw = std::strtoull(timeout.c_str(), nullptr, 16);
#ifdef SYS_poll
  constexpr int32_t kLongWaitMs = 1000;
  if (number == SYS_poll) {
    const auto timeout_ms = static_cast<int32_t>(raw & 0xFFFFFFFF);
    return timeout_ms == -1 || timeout_ms >= kLongWaitMs;
  }
#endif
  if (number == SYS_ppoll) return raw == 0;
  return number == SYS_read;
}

bool WaitsToWrite(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/syscall");
  long number = -1;
  return file >> number && (number == SYS_write || number == SYS_writev);
}

bool PtyTerminal::Blocked() const {
  return WaitsForAKey(pid_);
}

void PtyTerminal::Pause() const {
  // Output wakes it at once; otherwise look at the program again in a moment.
  const timespec moment{0, 200'000};
  if (master_ < 0) {
    nanosleep(&moment, nullptr);
    return;
  }
  pollfd output{master_, POLLIN, 0};
  ppoll(&output, 1, &moment, nullptr);
}

bool PtyTerminal::WaitForKeyWait(std::chrono::milliseconds timeout) {
  const auto give_up = std::chrono::steady_clock::now() + timeout;
  // Typed bytes reach the program's side of the pty asynchronously, so a program asleep
  // right after typing may not have seen them yet: it waits for a key only when it has
  // read everything sent since it last waited. (The first wait follows the start-up,
  // which ends with the terminal's answer read or given up on.)
  const bool first = sent_at_wait_ == 0 && read_at_wait_ == 0;
  while (std::chrono::steady_clock::now() < give_up) {
    Drain();
    const long long read_now = CharactersRead();
    const bool caught_up = first || read_now - read_at_wait_ >= sent_ - sent_at_wait_;
    if (caught_up && Blocked()) {
      Drain();
      if (Blocked()) {
        sent_at_wait_ = sent_;
        read_at_wait_ = CharactersRead();
        return true;
      }
    }
    if (!Alive()) {
      Drain();
      return false;
    }
    Pause();
  }
  return false;
}

int PtyTerminal::WaitExit(std::chrono::milliseconds timeout) {
  const auto give_up = std::chrono::steady_clock::now() + timeout;
  while (Alive() && std::chrono::steady_clock::now() < give_up) {
    Drain();
    Pause();
  }
  Drain();
  return exited_ ? status_ : -1;
}

void PtyTerminal::Signal(int sig) {
  kill(pid_, sig);
}

ScreenCell PtyTerminal::Cell(int column, int row) const {
  VTermScreenCell cell{};
  vterm_screen_get_cell(screen_, VTermPos{row - 1, column - 1}, &cell);
  ScreenCell result{CellText(cell), ColourIndex(cell.fg, true), ColourIndex(cell.bg, false)};
  if (VTERM_COLOR_IS_RGB(&cell.fg))
    result.foreground_rgb = cell.fg.rgb.red << 16 | cell.fg.rgb.green << 8 | cell.fg.rgb.blue;
  result.bold = cell.attrs.bold != 0;
  result.underline = cell.attrs.underline != 0;
  return result;
}

std::string PtyTerminal::Text(int column, int row, int count) const {
  std::string text;
  for (int x = column; x < column + count && x <= columns_; ++x) text += Cell(x, row).text;
  return text;
}

std::string PtyTerminal::Row(int row) const {
  std::string text = Text(1, row, columns_);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

int PtyTerminal::CursorRow() const {
  VTermPos pos{};
  vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &pos);
  return pos.row + 1;
}

int PtyTerminal::CursorColumn() const {
  VTermPos pos{};
  vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &pos);
  return pos.col + 1;
}

termios PtyTerminal::Settings() const {
  termios settings{};
  tcgetattr(slave_, &settings);
  return settings;
}

int ReplayPipedRun(const std::string& program, const std::string& keys, PtyTerminal& screen) {
  char path[] = "/tmp/piped_run_XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return -1;
  close(fd);
  const std::string capture = path;
  const std::string command = "printf '" + keys + "' | " + program + " > " + capture;
  const int status = std::system(command.c_str());
  std::ifstream file(capture, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  screen.Show(bytes.str());
  std::remove(capture.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace e2e
