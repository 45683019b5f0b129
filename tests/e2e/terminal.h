#pragma once
// A program in a pseudo-terminal, its screen read through libvterm as an xterm that answers
// nothing back shows it; or a program run as a script runs it. Rows and columns count from 1.
#include <sys/wait.h>
#include <termios.h>
#include <vterm.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/temp_dir.h"

struct ProgramOptions {
  std::vector<std::string> arguments{};
  std::filesystem::path directory{};  // empty: the caller's
  int rows = 25;
  int columns = 80;
  std::vector<std::string> environment{};  // beside xterm, C.UTF-8, the caller's PATH, HOME...
  std::string program = GRAVIX_PROGRAM;    // looked up in PATH when it has no slash
  std::string standardInput{};             // a file read instead of the terminal
  bool unprivileged = false;  // as an ordinary user: root runs it as user and group 65534
};

using Wait = std::chrono::milliseconds;
constexpr Wait DefaultWait = std::chrono::seconds(30);

class Terminal {
 public:
  explicit Terminal(const ProgramOptions& options);
  ~Terminal();  // a program still running is killed
  const std::string& StartError() const { return startError_; }  // empty once started
  void SendKeys(std::string_view bytes);
  void Signal(int number) { ended_ || kill(child_, number); }
  pid_t Pid() const { return child_; }
  void Resize(int rows, int columns);  // as a window does: the program gets SIGWINCH
  // Each reads the program's output until the condition holds or the time is up.
  bool WaitUntil(const std::function<bool(const Terminal&)>& condition, Wait timeout = DefaultWait);
  bool WaitForText(int column, int row, std::string_view text, Wait timeout = DefaultWait);
  bool WaitToShow(std::string_view text, Wait timeout = DefaultWait);  // anywhere on the screen
  bool WaitForExit(Wait timeout = DefaultWait);
  void Pause(Wait time) {
    WaitUntil([](const Terminal&) { return false; }, time);
  }

  int ExitCode() const { return ended_ && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
  int EndSignal() const { return ended_ && WIFSIGNALED(status_) ? WTERMSIG(status_) : 0; }
  std::string Text(int column, int row, int length) const;  // UTF-8 of the cells
  std::string TrimmedRow(int row) const;
  std::string ScreenDump() const;  // trimmed rows, each ended by a line feed
  // Rows first to last (0: the bottom one), each cell's text and colour as a hex digit ("." for
  // a blank).
  std::string Cells(int first = 1, int last = 0) const;
  int Colour(int column, int row) const;  // PC colour 0-15 of the foreground; -1 not one
  int CursorColumn() const { return Cursor().col + 1; }
  int CursorRow() const { return Cursor().row + 1; }
  bool CursorVisible() const { return cursorVisible_; }
  const std::string& RawOutput() const { return raw_; }
  bool Raw() const { return (Settings().c_lflag & (ICANON | ECHO)) == 0; }  // no echo, no editing
  bool SettingsAsBefore() const;  // those that matter to a program: as before it ran

 private:
  void Receive();
  VTermPos Cursor() const;
  termios Settings() const;

  int rows_, columns_, master_ = -1, status_ = 0;
  pid_t child_ = -1;
  bool ended_ = false, outputClosed_ = false, cursorVisible_ = true;
  std::string startError_, raw_;
  VTerm* vterm_;
  termios initialSettings_{};
  std::chrono::steady_clock::time_point endSeen_;
};

// No controlling terminal, standard input /dev/null, the environment only C.UTF-8, the caller's
// PATH, HOME and sanitizer options, then environment.
struct PlainRun {
  int status;  // -1 when it did not end by exit
  std::string output, errors;
};
PlainRun RunPlain(const std::vector<std::string>& command, const std::filesystem::path& directory,
                  const std::vector<std::string>& environment = {});

std::set<std::string> Files(const std::filesystem::path& directory);  // the names in it
std::string ZeroLines(int first, int last);  // correct lines of 20 zeros, numbered first to last
inline const std::string Borde =             // the border example
    "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n3 0F0FE607D3FEC9000000 933\n";
