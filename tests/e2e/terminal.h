#pragma once
// Runs a program in a pseudo-terminal and reads its screen through libvterm, as a user
// would see it in an xterm. The terminal answers nothing back (no size or status reports),
// and a window-resize request is not obeyed.
//
//   Terminal term({.arguments = {"juego.txt"}, .directory = dir});
//   ASSERT_TRUE(term.Started()) << term.StartError();
//   ASSERT_TRUE(term.WaitForText(1, 4, "  ERROR: "));
//   EXPECT_EQ(term.Colour(3, 4), 14);
//   ASSERT_TRUE(term.WaitForExit());
//   EXPECT_EQ(term.ExitCode(), 1);
//
// Columns and rows are 1-based, (1,1) the top-left cell, as in the program.

#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct VTerm;

constexpr std::chrono::milliseconds DefaultWait{10000};

// The environment a program gets unless told otherwise: TERM=xterm, LANG=C.UTF-8, and the
// caller's PATH and sanitizer options.
std::vector<std::string> DefaultEnvironment();

struct ProgramOptions {
  std::vector<std::string> arguments{};
  std::filesystem::path directory{};  // working directory; empty: the caller's
  int columns = 80;
  int rows = 25;
  std::vector<std::string> environment = DefaultEnvironment();
  std::string program = GRAVIX_PROGRAM;  // looked up in PATH when it has no slash
  std::string standardInput{};           // a file to read instead of the terminal (/dev/null)
  bool unprivileged = false;             // run as user and group 65534 (nobody)
};

// What a terminal sends for each key.
struct KeyBytes {
  static constexpr std::string_view Up = "\x1b[A", Down = "\x1b[B", Right = "\x1b[C",
                                    Left = "\x1b[D", Home = "\x1b[H", End = "\x1b[F",
                                    PageUp = "\x1b[5~", PageDown = "\x1b[6~", Insert = "\x1b[2~",
                                    Delete = "\x1b[3~", F1 = "\x1bOP", Enter = "\r",
                                    Backspace = "\x7f", Tab = "\t", Escape = "\x1b";
};

// What the program set through escape sequences rather than by writing cells.
struct TerminalProperties {
  std::string title;
  bool cursorVisible = true;
};

class Terminal {
 public:
  explicit Terminal(const ProgramOptions& options);
  ~Terminal();  // a program still running is killed
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  // False when the program could not be started (setuid refused, exec failed...).
  bool Started() const { return startError_.empty(); }
  const std::string& StartError() const { return startError_; }

  // Keys go to the program as typed; wait for the program to show something first, or they
  // may arrive before it has switched the terminal to raw input.
  void SendKeys(std::string_view bytes);
  void Signal(int signalNumber);

  // Each waits, reading the program's output, until the condition holds or the time is up.
  bool WaitUntil(const std::function<bool(const Terminal&)>& condition,
                 std::chrono::milliseconds timeout = DefaultWait);
  bool WaitForText(int column, int row, std::string_view text,
                   std::chrono::milliseconds timeout = DefaultWait);
  // Until the program has ended and all its output is read.
  bool WaitForExit(std::chrono::milliseconds timeout = DefaultWait);

  bool Exited() const { return ended_; }
  int ExitCode() const;   // -1 unless it ended by exit
  int EndSignal() const;  // 0 unless it was ended by a signal

  // The screen as libvterm shows it.
  std::string Text(int column, int row, int length) const;  // UTF-8 of the cells
  std::string Row(int row) const;                           // the whole row, blanks kept
  std::string TrimmedRow(int row) const;
  std::string ScreenDump() const;         // trimmed rows joined with line feeds
  int Colour(int column, int row) const;  // PC colour 0-15 of the foreground; -1 not one
  int CursorColumn() const;
  int CursorRow() const;
  bool CursorVisible() const { return properties_.cursorVisible; }
  const std::string& Title() const { return properties_.title; }
  const std::string& RawOutput() const { return raw_; }  // every byte received

  // The terminal's settings as they were before the program ran, and as they are now.
  const termios& InitialSettings() const { return initialSettings_; }
  termios CurrentSettings() const;

 private:
  void Start(const ProgramOptions& options);
  void Receive(std::chrono::milliseconds wait);
  void Reap(bool block);

  int columns_;
  int rows_;
  int master_ = -1;
  pid_t child_ = -1;
  int childFd_ = -1;  // readable when the child has ended
  bool ended_ = false;
  bool outputClosed_ = false;
  int status_ = 0;
  std::string startError_;
  VTerm* vterm_ = nullptr;
  std::string raw_;
  TerminalProperties properties_;
  termios initialSettings_{};
  std::chrono::steady_clock::time_point endSeen_;
};

// The terminal settings that matter to a program, field by field.
bool SameSettings(const termios& a, const termios& b);

// A fresh directory under the system's temporary directory, removed when the test ends;
// readable by everyone, so an unprivileged child can reach its files.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The file's bytes, or an empty string when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
