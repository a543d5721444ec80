// Runs a program in a pseudo-terminal whose screen is libvterm, a real terminal emulator,
// so that tests can type keys as a terminal sends them and read back characters, colours
// and the cursor.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

struct VTerm;
struct VTermScreen;

namespace e2e {

// Two terminal settings are the same in every flag and control character.
bool SameSettings(const termios& a, const termios& b);

// Process PID is asleep in a wait for a key: poll with no time-out or one of a second or
// more (auto-play's step; the start-up's look for the terminal's answer is shorter), ppoll
// with none, or read.
bool WaitsForAKey(pid_t pid);
// Process PID is blocked writing.
bool WaitsToWrite(pid_t pid);

struct ScreenCell {
  std::string text;     // UTF-8, a blank for an empty cell
  int foreground = -1;  // palette index, -1 for the default colour
  int background = -1;
  int foreground_rgb = -1;  // 0xRRGGBB when the foreground is a 24-bit colour (index -2)
  bool bold = false;
  bool underline = false;
};

class PtyTerminal {
 public:
  PtyTerminal(int columns, int rows);
  ~PtyTerminal();
  PtyTerminal(const PtyTerminal&) = delete;
  PtyTerminal& operator=(const PtyTerminal&) = delete;

  // Shows BYTES on the screen as if someone had written them before the program ran.
  void Show(std::string_view bytes);
  // The terminal type the program is told (TERM); xterm-256color unless a test says.
  void SetTerm(const std::string& term) { term_ = term; }
  // Whether the terminal answers queries (the cursor position report) at all.
  void AnswerQueries(bool answer) { answer_queries_ = answer; }
  // Whether the terminal speaks the kitty keyboard protocol: answers its flags query and
  // keeps its stack of pushed flags. (Key events in its form are typed by the test.)
  void SpeakKittyKeyboard(bool speak) { kitty_keyboard_ = speak; }
  // The locale the program starts in (LC_ALL); C.UTF-8 unless set.
  void SetLocale(std::string locale) { locale_ = std::move(locale); }
  // The keyboard flags in force (0 when none are pushed), and how many were ever pushed.
  int keyboard_flags() const { return keyboard_stack_.empty() ? 0 : keyboard_stack_.back(); }
  int keyboard_pushes() const { return keyboard_pushes_; }
  // Starts PROGRAM as the foreground job of a session on the terminal, as a shell with job
  // control would: a session leader that stays, and the program in a process group of its
  // own. STDIN_FILE, when given, is its standard input instead of the terminal.
  void Start(const std::string& program, const std::vector<std::string>& args = {},
             const std::string& stdin_file = {});
  void Type(std::string_view bytes);
  // Types a key that the terminal turns into a signal (Ctrl+C, Ctrl+\\, Ctrl+Z): the
  // program never reads it.
  void TypeSignalKey(char key);
  // Waits until the program has drawn everything and blocks in its wait for a key with no
  // time limit; false when that does not happen within TIMEOUT.
  bool WaitForKeyWait(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits for the program to end; returns its wait status, or -1 on time-out.
  int WaitExit(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits for the program to stop (job control); false on time-out.
  bool WaitStopped(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  void Signal(int sig);
  // Closes the terminal's side: the line hangs up.
  void HangUp();
  void Resize(int columns, int rows);

  // 1-based coordinates.
  std::string Row(int row) const;  // trailing blanks removed
  std::string Text(int column, int row, int count) const;
  ScreenCell Cell(int column, int row) const;
  int CursorRow() const;
  int CursorColumn() const;
  const std::vector<std::string>& scrollback() const { return scrollback_; }
  const std::string& output() const { return output_; }
  // When the program's output was last read off the terminal.
  std::chrono::steady_clock::time_point last_output() const { return last_output_; }
  // The terminal settings now, as the program sees them.
  termios Settings() const;
  // The keypad's application mode and xterm's Alt mode, once switched on by the program,
  // have been switched off again since.
  bool KeyboardModesUndone() const {
    return Undone("\x1b=", "\x1b>") && Undone("\x1b[?1036h", "\x1b[?1036r");
  }
  pid_t pid() const { return pid_; }

  // Takes in what the program wrote so far, without waiting.
  void Drain();

 private:
  // The last ON in the output, if any, is followed by an OFF.
  bool Undone(std::string_view on, std::string_view off) const {
    const std::size_t switched_on = output_.rfind(on);
    const std::size_t switched_off = output_.rfind(off);
    return switched_on == std::string::npos ||
           (switched_off != std::string::npos && switched_off > switched_on);
  }
  // Follows the keyboard protocol's queries, pushes and pops in the output read so far.
  void WatchKeyboardProtocol();
  void Pause() const;
  bool Blocked() const;
  // Takes the wait statuses the session leader has passed on; true while the program lives.
  bool Alive();
  long long CharactersRead() const;
  static int PushLine(int columns, const void* cells, void* user);
  static void Answer(const char* bytes, std::size_t size, void* user);

  int columns_;
  int rows_;
  VTerm* vterm_;
  VTermScreen* screen_;
  int master_ = -1;
  int slave_ = -1;
  pid_t pid_ = -1;     // the program
  pid_t leader_ = -1;  // the session leader, its parent
  int status_pipe_ = -1;
  bool stopped_ = false;
  bool answer_queries_ = true;
  std::string term_ = "xterm-256color";
  // Bytes sent to the program (typed, and the terminal's answers), and what the program had
  // read, when it was last seen waiting: it waits for a key only once it has read them all.
  long long sent_ = 0;
  long long sent_at_wait_ = 0;
  long long read_at_wait_ = 0;
  bool exited_ = false;
  int status_ = 0;
  std::string output_;
  std::size_t protocol_scanned_ = 0;  // how far WatchKeyboardProtocol has looked
  bool kitty_keyboard_ = false;
  std::string locale_ = "C.UTF-8";
  std::vector<int> keyboard_stack_;
  int keyboard_pushes_ = 0;
  std::chrono::steady_clock::time_point last_output_;
  std::vector<std::string> scrollback_;
};

// Runs PROGRAM with its input piped from `printf KEYS` and its output into a file, and shows
// what it wrote on SCREEN; gives its exit status, -1 when it did not exit.
int ReplayPipedRun(const std::string& program, const std::string& keys, PtyTerminal& screen);

}  // namespace e2e
