#pragma once
// Runs a program in a pseudo-terminal and reads its screen through libvterm, as a user would
// see it in an xterm. The terminal answers nothing back and obeys no resize request.
// Columns and rows are 1-based, (1,1) the top-left cell, as in the program.
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vterm.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

constexpr std::chrono::milliseconds DefaultWait{10000};

std::vector<std::string> DefaultEnvironment();  // xterm, C.UTF-8, the caller's PATH, HOME...

struct ProgramOptions {
  std::vector<std::string> arguments{};
  std::filesystem::path directory{};  // empty: the caller's
  int columns = 80, rows = 25;
  std::vector<std::string> environment = DefaultEnvironment();
  std::string program = GRAVIX_PROGRAM;  // looked up in PATH when it has no slash
  std::string standardInput{};           // a file read instead of the terminal
  bool unprivileged = false;             // run as user and group 65534
};

// What a terminal sends for each key.
namespace KeyBytes {
constexpr std::string_view Up = "\x1b[A", Down = "\x1b[B", Right = "\x1b[C", Left = "\x1b[D",
                           Home = "\x1b[H", End = "\x1b[F", PageUp = "\x1b[5~",
                           PageDown = "\x1b[6~", Delete = "\x1b[3~", F1 = "\x1bOP", Enter = "\r",
                           Backspace = "\x7f", Tab = "\t";
}

class Terminal {
 public:
  explicit Terminal(const ProgramOptions& options);
  ~Terminal();  // a program still running is killed
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  bool Started() const { return startError_.empty(); }
  const std::string& StartError() const { return startError_; }
  // Wait for the program to show something first, or keys may arrive before raw input.
  void SendKeys(std::string_view bytes);
  void Signal(int signalNumber);

  // Each reads the program's output until the condition holds or the time is up.
  bool WaitUntil(const std::function<bool(const Terminal&)>& condition,
                 std::chrono::milliseconds timeout = DefaultWait);
  bool WaitForText(int column, int row, std::string_view text,
                   std::chrono::milliseconds timeout = DefaultWait);
  bool WaitForExit(std::chrono::milliseconds timeout = DefaultWait);  // output read too

  bool Exited() const { return ended_; }
  int ExitCode() const { return ended_ && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
  int EndSignal() const { return ended_ && WIFSIGNALED(status_) ? WTERMSIG(status_) : 0; }

  std::string Text(int column, int row, int length) const;  // UTF-8 of the cells
  std::string Row(int row) const { return Text(1, row, columns_); }
  std::string TrimmedRow(int row) const;
  std::string ScreenDump() const;         // trimmed rows, each ended by a line feed
  int Colour(int column, int row) const;  // PC colour 0-15 of the foreground; -1 not one
  int CursorColumn() const { return Cursor().col + 1; }
  int CursorRow() const { return Cursor().row + 1; }
  bool CursorVisible() const { return cursorVisible_; }
  const std::string& Title() const { return title_; }
  const std::string& RawOutput() const { return raw_; }

  // The terminal's settings before the program ran, and now.
  const termios& InitialSettings() const { return initialSettings_; }
  termios CurrentSettings() const;

 private:
  void Start(ProgramOptions options);
  void Receive();
  void Reap(bool block);
  VTermPos Cursor() const;
  static int OnProperty(VTermProp property, VTermValue* value, void* terminal);

  int columns_, rows_, master_ = -1, status_ = 0;
  pid_t child_ = -1;
  bool ended_ = false, outputClosed_ = false, cursorVisible_ = true;
  std::string startError_, raw_, title_;
  VTerm* vterm_ = nullptr;
  termios initialSettings_{};
  std::chrono::steady_clock::time_point endSeen_;
};

// The terminal settings that matter to a program.
bool SameSettings(const termios& a, const termios& b);

// A fresh directory under the system's temporary directory, readable by everyone (so an
// unprivileged child reaches its files), removed at the end.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string ReadFileBytes(const std::filesystem::path& path);  // empty when unreadable
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
