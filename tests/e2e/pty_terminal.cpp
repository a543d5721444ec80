#include "pty_terminal.hpp"

#include "console/terminal/charset.hpp"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vterm.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace e2e {
namespace {

std::string CellText(const VTermScreenCell& cell) {
  std::string text;
  if (cell.chars[0] == 0) return " ";
  for (int k = 0; k < VTERM_MAX_CHARS_PER_CELL && cell.chars[k] != 0; ++k)
    console::term::AppendUtf8(cell.chars[k], text);
  return text;
}

int ColourIndex(const VTermColor& colour, bool foreground) {
  if (foreground ? VTERM_COLOR_IS_DEFAULT_FG(&colour) : VTERM_COLOR_IS_DEFAULT_BG(&colour))
    return -1;
  if (VTERM_COLOR_IS_INDEXED(&colour)) return colour.indexed.idx;
  return -2;  // an RGB colour: the program never sends one
}

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t done = write(fd, bytes.data(), bytes.size());
    if (done < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return;
    }
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
}

}  // namespace

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
  WriteAll(self->master_, {bytes, size});
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
  if (pid_ > 0 && !exited_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
  vterm_free(vterm_);
}

void PtyTerminal::Show(std::string_view bytes) {
  vterm_input_write(vterm_, bytes.data(), bytes.size());
}

void PtyTerminal::Start(const std::string& program, const std::vector<std::string>& env) {
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    setsid();
    ioctl(slave_, TIOCSCTTY, 0);
    dup2(slave_, 0);
    dup2(slave_, 1);
    dup2(slave_, 2);
    close(master_);
    close(slave_);
    setenv("TERM", "xterm-256color", 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    for (const std::string& assignment : env) putenv(const_cast<char*>(assignment.c_str()));
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

void PtyTerminal::Type(std::string_view bytes) {
  WriteAll(master_, bytes);
  sent_ += static_cast<long long>(bytes.size());
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
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(master_, buffer, sizeof buffer);
    if (got <= 0) return;
    output_.append(buffer, static_cast<std::size_t>(got));
    vterm_input_write(vterm_, buffer, static_cast<std::size_t>(got));
  }
}

// The program is asleep in a wait for input without a time limit: poll with timeout -1,
// or ppoll, select or read without one.
bool PtyTerminal::Blocked() const {
  std::ifstream file("/proc/" + std::to_string(pid_) + "/syscall");
  std::string number;
  std::string fds, count, timeout;
  if (!(file >> number)) return false;
  file >> fds >> count >> timeout;
  const unsigned long long raw = std::strtoull(timeout.c_str(), nullptr, 16);
  if (number == "7") return static_cast<int32_t>(raw & 0xFFFFFFFF) == -1;  // poll
  if (number == "271") return raw == 0;                                     // ppoll
  if (number == "0") return true;                                           // read
  return false;
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
    int status = 0;
    if (!exited_ && waitpid(pid_, &status, WNOHANG) == pid_) {
      exited_ = true;
      status_ = status;
      Drain();
      return false;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return false;
}

int PtyTerminal::WaitExit(std::chrono::milliseconds timeout) {
  const auto give_up = std::chrono::steady_clock::now() + timeout;
  while (!exited_ && std::chrono::steady_clock::now() < give_up) {
    Drain();
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      exited_ = true;
      status_ = status;
    } else {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }
  Drain();
  return exited_ ? status_ : -1;
}

void PtyTerminal::Signal(int sig) { kill(pid_, sig); }

ScreenCell PtyTerminal::Cell(int column, int row) const {
  VTermScreenCell cell{};
  vterm_screen_get_cell(screen_, VTermPos{row - 1, column - 1}, &cell);
  return ScreenCell{CellText(cell), ColourIndex(cell.fg, true), ColourIndex(cell.bg, false)};
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

}  // namespace e2e
