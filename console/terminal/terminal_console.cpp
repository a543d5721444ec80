#include "console/terminal/terminal_console.hpp"

#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "runtime/runtime.hpp"

namespace console::terminal {
namespace {

// What the restore needs, kept where a signal handler can reach it.
struct termios SAVED_TERMIOS;
struct termios RAW_TERMIOS;
int SAVED_FD = -1;
volatile sig_atomic_t COLOURS_CHANGED = 0;
bool COLOURS_REGISTERED = false;
int OUT_FD = 1;

void RestoreTermios() {
  if (SAVED_FD >= 0) tcsetattr(SAVED_FD, TCSADRAIN, &SAVED_TERMIOS);
}

void ApplyRawTermios() {
  if (SAVED_FD >= 0) tcsetattr(SAVED_FD, TCSADRAIN, &RAW_TERMIOS);
}

// The kitty keyboard protocol's flags the program asks for: disambiguate 1, event types
// 2, alternate keys 4, all keys as escape codes 8, associated text 16.
constexpr char kPushKeyboardFlags[] = "\x1b[>31u";
constexpr char kPopKeyboardFlags[] = "\x1b[<u";

void PushKeyboardFlags() {
  ssize_t ignored = write(OUT_FD, kPushKeyboardFlags, sizeof kPushKeyboardFlags - 1);
  (void)ignored;
}

void PopKeyboardFlags() {
  ssize_t ignored = write(OUT_FD, kPopKeyboardFlags, sizeof kPopKeyboardFlags - 1);
  (void)ignored;
}

void RestoreColours() {
  if (COLOURS_CHANGED == 0) return;
  static const char kReset[] = "\x1b[m";
  ssize_t ignored = write(OUT_FD, kReset, sizeof kReset - 1);
  (void)ignored;
  COLOURS_CHANGED = 0;
}

uint64_t NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
}

void WriteAll(int fd, const std::string& bytes) {
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t done = write(fd, data, left);
    if (done < 0) {
      if (errno == EINTR) continue;
      return;  // a closed output loses the write; the run goes on
    }
    data += done;
    left -= static_cast<std::size_t>(done);
  }
}

std::string LocaleCodeset() {
  locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return {};
  std::string codeset = nl_langinfo_l(CODESET, locale);
  freelocale(locale);
  return codeset;
}

TerminalConsole* INSTANCE = nullptr;

void FlushAtExit() {
  if (INSTANCE != nullptr) INSTANCE->FinalFlush();
}

}  // namespace

TerminalConsole::TerminalConsole(int in_fd, int out_fd) : in_fd_(in_fd), out_fd_(out_fd) {}

TerminalConsole& TerminalConsole::Open() {
  if (INSTANCE == nullptr) {
    INSTANCE = new TerminalConsole(STDIN_FILENO, STDOUT_FILENO);
    INSTANCE->Start();
  }
  return *INSTANCE;
}

void TerminalConsole::Start() {
  in_tty_ = isatty(in_fd_) != 0;
  out_tty_ = isatty(out_fd_) != 0;
  OUT_FD = out_fd_;
  if (out_tty_) {
    winsize size{};
    if (ioctl(out_fd_, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
      width_ = std::min<int>(size.ws_col, 32767);
      height_ = std::min<int>(size.ws_row, 32767);
    }
  }
  charset_ = LoadCharset(LocaleCodeset());
  writer_ = std::make_unique<ScreenWriter>(width_, height_, charset_.glyphs);

  DecoderOptions options;
  options.utf8 = charset_.utf8;
  options.cp866_high = charset_.cp866_high;
  options.charset_high = charset_.charset_high;
  options.lf_is_enter = !in_tty_;
  if (in_tty_ && tcgetattr(in_fd_, &SAVED_TERMIOS) == 0) {
    options.erase = SAVED_TERMIOS.c_cc[VERASE];
    struct termios raw = SAVED_TERMIOS;
    // Keys one by one, unechoed and untranslated; Ctrl+S and Ctrl+Q reach the program;
    // output goes out as sent. Ctrl+C and friends stay signals.
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | IEXTEN);
    raw.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON | IXOFF | ISTRIP);
    raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    SAVED_FD = in_fd_;
    RAW_TERMIOS = raw;
    runtime::RegisterMode(RestoreTermios, ApplyRawTermios);
    tcsetattr(in_fd_, TCSANOW, &raw);
  }
  decoder_ = std::make_unique<KeyDecoder>(options);
  runtime::SetFlushHandler(FlushAtExit);

  if (!out_tty_) {
    // A file or a pipe: the stream of an 80 x 25 terminal whose cursor starts at the top
    // left, so that the capture replays in one.
    cursor_ = Coord{0, 0};
    writer_->AssumeCursor(0, 0);
    return;
  }
  writer_->AssumeCursor(-1, -1);
  FindCursor(in_tty_, true);
  // A terminal that did not answer now is not asked again on a resume.
  answers_queries_ = cursor_reported_;
  if (keyboard_protocol_) {
    // The terminal reports every key press and release exactly: take them so. The flags
    // come off again on every way out and on a stop.
    runtime::RegisterMode(PopKeyboardFlags, PushKeyboardFlags);
    writer_->bytes() += kPushKeyboardFlags;  // goes out with the first drawing
    decoder_->SetKittyKeyboard(true);
  }
}

void TerminalConsole::FindCursor(bool ask, bool keyboard_query) {
  cursor_reported_ = false;
  if (ask) AskCursor(keyboard_query);
  // No answer: go on from the start of the bottom row.
  if (!cursor_reported_) cursor_ = Coord{0, static_cast<int16_t>(height_ - 1)};
}

void TerminalConsole::AskCursor(bool keyboard_query) {
  // The keyboard protocol's flags query goes with it, followed by the device attributes
  // query that every terminal answers: a flags reply ahead of that answer means the
  // terminal speaks the protocol. One wait serves them all.
  WriteAll(out_fd_, keyboard_query ? "\x1b[6n\x1b[?u\x1b[c" : "\x1b[6n");
  decoder_->ExpectCursorReport();
  awaiting_report_ = true;
  awaiting_attributes_ = keyboard_query;
  const uint64_t give_up = NowMs() + kCursorReportWaitMs;
  for (uint64_t now = NowMs();
       (!cursor_reported_ || awaiting_attributes_) && !ended_ && now < give_up; now = NowMs()) {
    Pump(static_cast<int>(give_up - now));
  }
  // Answers that come later are stale: the program has drawn since.
  awaiting_report_ = false;
  awaiting_attributes_ = false;
}

void TerminalConsole::Resume() {
  writer_->ForgetColours();
  writer_->AssumeCursor(-1, -1);
  if (!out_tty_) return;
  decoder_->ForgetModifiers();
  FindCursor(in_tty_ && answers_queries_, false);
}

void TerminalConsole::Take(std::vector<Decoded>& decoded) {
  for (const Decoded& item : decoded) {
    if (item.kind == Decoded::Kind::kKey) {
      if (!RaiseSignalKey(item.key)) keys_.push_back(item.key);
    } else if (item.kind == Decoded::Kind::kKeyboardFlags) {
      if (awaiting_attributes_) keyboard_protocol_ = true;
    } else if (item.kind == Decoded::Kind::kDeviceAttributes) {
      awaiting_attributes_ = false;
    } else if (item.kind == Decoded::Kind::kCursorReport && awaiting_report_) {
      awaiting_report_ = false;
      cursor_reported_ = true;
      const int x = std::clamp(item.column - 1, 0, width_ - 1);
      const int y = std::clamp(item.row - 1, 0, height_ - 1);
      cursor_ = Coord{static_cast<int16_t>(x), static_cast<int16_t>(y)};
      writer_->AssumeCursor(x, y);
    }
  }
  decoded.clear();
}

// Under the keyboard protocol Ctrl+C, Ctrl+\ and Ctrl+Z arrive as key events, and the
// terminal raises no signal for them: raise it here, as the terminal would have, to the
// whole foreground job.
bool TerminalConsole::RaiseSignalKey(const KeyEvent& key) {
  if (!decoder_->KittyKeyboard() || !key.key_down || SAVED_FD < 0) return false;
  if ((SAVED_TERMIOS.c_lflag & ISIG) == 0) return false;
  if ((key.control_state & (kLeftCtrlPressed | kRightCtrlPressed)) == 0) return false;
  const struct {
    int index;
    int sig;
  } kSignalKeys[] = {{VINTR, SIGINT}, {VQUIT, SIGQUIT}, {VSUSP, SIGTSTP}};
  for (const auto& signal_key : kSignalKeys) {
    const cc_t ch = SAVED_TERMIOS.c_cc[signal_key.index];
    if (ch != _POSIX_VDISABLE && ch == key.character) {
      kill(0, signal_key.sig);
      return true;
    }
  }
  return false;
}

void TerminalConsole::Pump(int timeout_ms) {
  std::vector<Decoded> decoded;
  if (ended_) return;
  pollfd poll_fd{in_fd_, POLLIN, 0};
  // Read whatever is there; a few rounds at most, so that a flood cannot starve output.
  for (int round = 0; round < 8; ++round) {
    const int ready = poll(&poll_fd, 1, round == 0 ? timeout_ms : 0);
    if (ready <= 0) break;
    uint8_t buffer[4096];
    const ssize_t got = read(in_fd_, buffer, sizeof buffer);
    if (got > 0) {
      decoder_->Feed(buffer, static_cast<std::size_t>(got), NowMs(), decoded);
      continue;
    }
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) break;
    // End of file, a hang-up or a read error: no more keys will come.
    ended_ = true;
    decoder_->Finish(decoded);
    break;
  }
  decoder_->Expire(NowMs(), decoded);
  Take(decoded);
}

void TerminalConsole::GetScreenInfo(ScreenInfo& info) {
  info.size = Coord{static_cast<int16_t>(width_), static_cast<int16_t>(height_)};
  info.window = Rect{0, 0, static_cast<int16_t>(width_ - 1), static_cast<int16_t>(height_ - 1)};
  info.cursor = cursor_;
  info.attribute = kDefaultColours;
}

void TerminalConsole::SetCursor(Coord where) {
  if (where.x < 0 || where.y < 0 || where.x >= width_ || where.y >= height_) return;
  cursor_ = where;
}

void TerminalConsole::WriteCell(Coord where, uint8_t character, uint16_t attribute) {
  writer_->PutCell(where.x, where.y, character, attribute);
}

void TerminalConsole::ScrollRect(Rect source, Rect clip, Coord dest, uint8_t /*fill_char*/,
                                 uint16_t fill_attribute) {
  // The layer only ever moves full-width rows up by one; that is what a terminal can do.
  const bool up_one = dest.y == source.top - 1 && dest.x == source.left && clip.top == dest.y &&
                      clip.bottom == source.bottom;
  const bool full_width = clip.left <= 0 && clip.right >= width_ - 1;
  if (!up_one || !full_width) return;
  const int top = std::max<int>(clip.top, 0);
  const int bottom = std::min<int>(clip.bottom, height_ - 1);
  if (top > bottom) return;
  writer_->ScrollUp(top, bottom, fill_attribute);
}

uint32_t TerminalConsole::PendingInputEvents() {
  if (runtime::TakeResumed()) Resume();
  if (in_tty_) Pump(0);
  return static_cast<uint32_t>(keys_.size());
}

InputEvent TerminalConsole::ReadInputEvent() {
  InputEvent event{EventKind::kKey, keys_.front()};
  keys_.pop_front();
  return event;
}

void TerminalConsole::WaitForInput() {
  if (runtime::TakeResumed()) Resume();
  Flush();
  if (!keys_.empty() || ended_) return;
  if (!in_tty_) {
    PumpStream();
    return;
  }
  int timeout = -1;
  if (const auto deadline = decoder_->Deadline()) {
    const uint64_t now = NowMs();
    timeout = *deadline > now ? static_cast<int>(*deadline - now) : 0;
  }
  // Blocks until a key arrives or the Esc decision falls due; the next poll reads it.
  pollfd poll_fd{in_fd_, POLLIN, 0};
  poll(&poll_fd, 1, timeout);
}

void TerminalConsole::PumpStream() {
  std::vector<Decoded> decoded;
  while (keys_.empty() && !ended_) {
    if (stream_at_ == stream_.size()) {
      char buffer[4096];
      const ssize_t got = read(in_fd_, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) return;
      if (got <= 0) {
        ended_ = true;
        decoder_->Finish(decoded);
      } else {
        stream_.assign(buffer, static_cast<std::size_t>(got));
        stream_at_ = 0;
      }
    } else {
      // A stream has no timing: every byte arrives at the same moment.
      decoder_->Feed(reinterpret_cast<const uint8_t*>(stream_.data() + stream_at_), 1, 0, decoded);
      ++stream_at_;
    }
    Take(decoded);
  }
}

bool TerminalConsole::InputEnded() {
  return ended_ && keys_.empty();
}

void TerminalConsole::Flush() {
  writer_->MoveTo(cursor_.x, cursor_.y);
  std::string& bytes = writer_->bytes();
  if (writer_->colours_changed()) {
    // Colours set on the terminal are a mode to switch off again on the way out.
    if (!COLOURS_REGISTERED) {
      COLOURS_REGISTERED = true;
      runtime::RegisterMode(RestoreColours);
    }
    COLOURS_CHANGED = 1;
  }
  if (bytes.empty()) return;
  WriteAll(out_fd_, bytes);
  bytes.clear();
}

void TerminalConsole::FinalFlush() {
  writer_->ResetColours();
  Flush();
  COLOURS_CHANGED = 0;
}

}  // namespace console::terminal
