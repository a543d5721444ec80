#include "console/posix/tty.hpp"

#include <poll.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "runtime/platform.hpp"
#include "runtime/runtime.hpp"

namespace console::posix {
namespace {

// What the restore needs, kept where a signal handler can reach it. The restore steps take
// no arguments: they undo the modes of the one Tty that took the restore (TakeTheRestore).
struct RestoreState {
  const Tty* owner = nullptr;
  int in_fd = -1;
  int out_fd = -1;
  termios saved{};
  termios raw{};
};
RestoreState RESTORE;

// The restore runs from signal handlers too, when the output may be blocked because the
// terminal or the pipe has stopped reading: nothing in it may wait for the output. The
// settings change at once (output already written was processed when it was written), and
// the mode sequences go out only as far as the output takes them.
constexpr int kRestoreWriteBudgetMs = 20;

void RestoreTermios() {
  tcsetattr(RESTORE.in_fd, TCSANOW, &RESTORE.saved);
}
void ApplyRawTermios() {
  tcsetattr(RESTORE.in_fd, TCSANOW, &RESTORE.raw);
}
void PushFlags() {
  runtime::WriteWithin(RESTORE.out_fd, Tty::kPushKeyboardFlags, kRestoreWriteBudgetMs);
}
void KeyboardModesOn() {
  runtime::WriteWithin(RESTORE.out_fd, Tty::kKeyboardModesOn, kRestoreWriteBudgetMs);
}
void KeyboardModesOff() {
  runtime::WriteWithin(RESTORE.out_fd, Tty::kKeyboardModesOff, kRestoreWriteBudgetMs);
}
void PopFlags() {
  runtime::WriteWithin(RESTORE.out_fd, Tty::kPopKeyboardFlags, kRestoreWriteBudgetMs);
}

}  // namespace

uint64_t MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
}

std::string TerminalType() {
  const char* term = std::getenv("TERM");
  return term != nullptr ? term : "";
}

bool NoColorAsked() {
  const char* no_color = std::getenv("NO_COLOR");
  return no_color != nullptr && *no_color != 0;
}

Tty::Tty(int in_fd, int out_fd)
    : in_fd_(in_fd), out_fd_(out_fd), in_tty_(isatty(in_fd) != 0), out_tty_(isatty(out_fd) != 0) {}

void Tty::TakeTheRestore() const {
  RESTORE.owner = this;
  RESTORE.in_fd = in_fd_;
  RESTORE.out_fd = out_fd_;
}

bool Tty::WindowSize(int& width, int& height) const {
  winsize size{};
  if (!out_tty_ || ioctl(out_fd_, TIOCGWINSZ, &size) != 0) return false;
  if (size.ws_col == 0 || size.ws_row == 0) return false;
  width = size.ws_col;
  height = size.ws_row;
  return true;
}

int Tty::EnterRawMode() {
  if (!in_tty_ || tcgetattr(in_fd_, &saved_) != 0) return -1;
  termios raw = saved_;
  // Keys one by one, unechoed and untranslated; Ctrl+S and Ctrl+Q reach the program;
  // output goes out as sent. Ctrl+C and friends stay signals.
  raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | IEXTEN);
  raw.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON | IXOFF | ISTRIP);
  raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  if (RESTORE.owner == this) {
    RESTORE.saved = saved_;
    RESTORE.raw = raw;
    runtime::RegisterMode(RestoreTermios, ApplyRawTermios);
  }
  tcsetattr(in_fd_, TCSANOW, &raw);
  raw_ = true;
  return saved_.c_cc[VERASE];
}

int Tty::SignalOfCharacter(uint8_t character) const {
  if (!raw_ || (saved_.c_lflag & ISIG) == 0) return 0;
  const struct {
    int index;
    int sig;
  } kSignalKeys[] = {{VINTR, SIGINT}, {VQUIT, SIGQUIT}, {VSUSP, SIGTSTP}};
  for (const auto& key : kSignalKeys) {
    const cc_t ch = saved_.c_cc[key.index];
    if (ch != _POSIX_VDISABLE && ch == character) return key.sig;
  }
  return 0;
}

bool Tty::WaitForInput(int timeout_ms) const {
  pollfd ready{in_fd_, POLLIN, 0};
  return poll(&ready, 1, timeout_ms) > 0;
}

long Tty::Read(uint8_t* buffer, std::size_t size) const {
  const ssize_t got = read(in_fd_, buffer, size);
  if (got < 0 && (errno == EINTR || errno == EAGAIN)) return -1;
  return got < 0 ? 0 : static_cast<long>(got);  // a read error ends the input too
}

void Tty::Write(std::string_view bytes) const {
  if (const int error = runtime::WriteAll(out_fd_, bytes)) runtime::OutputLost(error);
}

void Tty::RegisterKeyboardModes() const {
  if (RESTORE.owner == this) runtime::RegisterMode(KeyboardModesOff, KeyboardModesOn);
}

void Tty::RegisterKeyboardFlags() const {
  if (RESTORE.owner == this) runtime::RegisterMode(PopFlags, PushFlags);
}

void Tty::ColoursChanged(bool changed) const {
  if (RESTORE.owner == this) runtime::ColoursChanged(out_fd_, changed);
}

}  // namespace console::posix
