#pragma once
// Runs a program in a pseudo-terminal and reads its screen through libvterm, as a user would
// see it in an xterm that answers nothing back. Columns and rows are 1-based, as in the program.
#include <sys/wait.h>
#include <termios.h>
#include <vterm.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct ProgramOptions {
  std::vector<std::string> arguments{};
  std::filesystem::path directory{};  // empty: the caller's
  int rows = 25;
  std::vector<std::string> environment{};  // beside xterm, C.UTF-8, the caller's PATH, HOME...
  std::string program = GRAVIX_PROGRAM;    // looked up in PATH when it has no slash
  std::string standardInput{};             // a file read instead of the terminal
  bool unprivileged = false;               // run as user and group 65534
};

// What a terminal sends for each key.
namespace KeyBytes {
constexpr std::string_view Up = "\x1b[A", Down = "\x1b[B", End = "\x1b[F", PageUp = "\x1b[5~",
                           PageDown = "\x1b[6~", Insert = "\x1b[2~", Delete = "\x1b[3~",
                           Enter = "\r", Backspace = "\x7f", Tab = "\t";
}

using Wait = std::chrono::milliseconds;
constexpr Wait DefaultWait = std::chrono::seconds(30);

class Terminal {
 public:
  explicit Terminal(const ProgramOptions& options);
  ~Terminal();  // a program still running is killed

  bool Started() const { return startError_.empty(); }
  const std::string& StartError() const { return startError_; }
  void SendKeys(std::string_view bytes);
  void Signal(int signalNumber) {
    if (!ended_) kill(child_, signalNumber);
  }
  // The window resized, as a terminal does it: the program is told by SIGWINCH.
  void Resize(int rows, int columns);
  // Output of another program on the same terminal, shown over the program's screen.
  void ShowForeign(std::string_view bytes) {
    vterm_input_write(vterm_, bytes.data(), bytes.size());
  }

  // Each reads the program's output until the condition holds or the time is up.
  bool WaitUntil(const std::function<bool(const Terminal&)>& condition, Wait timeout = DefaultWait);
  bool WaitForText(int column, int row, std::string_view text, Wait timeout = DefaultWait);
  bool WaitToShow(std::string_view text, Wait timeout = DefaultWait);  // anywhere on the screen
  bool WaitForExit(Wait timeout = DefaultWait);

  int ExitCode() const { return ended_ && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
  int EndSignal() const { return ended_ && WIFSIGNALED(status_) ? WTERMSIG(status_) : 0; }
  std::string Text(int column, int row, int length) const;  // UTF-8 of the cells
  std::string Row(int row) const { return Text(1, row, 80); }
  std::string TrimmedRow(int row) const;
  std::string ScreenDump() const;  // trimmed rows, each ended by a line feed
  // Rows first to last (0: the bottom one): each cell's text and colour as a hex digit ("." for
  // a blank).
  std::string Cells(int first = 1, int last = 0) const;
  int Colour(int column, int row) const;  // PC colour 0-15 of the foreground; -1 not one
  int CursorColumn() const { return Cursor().col + 1; }
  int CursorRow() const { return Cursor().row + 1; }
  bool CursorVisible() const { return cursorVisible_; }
  const std::string& RawOutput() const { return raw_; }
  termios CurrentSettings() const;
  bool SettingsAsBefore() const;  // those that matter to a program: as before it ran

 private:
  void Receive();
  VTermPos Cursor() const;

  int rows_, master_ = -1, status_ = 0;
  pid_t child_ = -1;
  bool ended_ = false, outputClosed_ = false, cursorVisible_ = true;
  std::string startError_, raw_;
  VTerm* vterm_;
  termios initialSettings_{};
  std::chrono::steady_clock::time_point endSeen_;
};

// A fresh directory under the system's temporary directory, readable by everyone (so an
// unprivileged child reaches its files), removed at the end.
struct ScratchDirectory {
  ScratchDirectory();
  ~ScratchDirectory() { std::filesystem::remove_all(path_, ignored_); }
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path path_;
  std::error_code ignored_;
};

// Empty when unreadable or not a file.
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
