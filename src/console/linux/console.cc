// Linux binding: an ANSI/VT100 terminal on standard input and output. The terminal's
// settings are changed in one place (InitConsole) and restored by RestoreTerminal, which every
// end reaches: the normal end, the Runtime error end, Ctrl+C, and the signals that end the run.
#include "console/console.h"

#include <langinfo.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstring>
#include <ctime>
#include <string>

#include "console/linux/cp437.h"
#include "console/linux/key_decoder.h"
#include "platform/linux/end_signals.h"
#include "platform/platform.h"

namespace {

constexpr int EscapeWaitMilliseconds = 10;
constexpr int FlushIntervalMilliseconds = 40;
constexpr char TerminalReset[] = "\x1b[0m\x1b[?25h";

struct Terminal {
  bool settingsSaved = false;  // saved is what every end puts back
  termios saved{};
  int columns = ScreenColumns;
  int rows = ScreenRows;
  bool utf8 = false;
  std::string output;
  int64_t lastFlush = 0;
  int attribute = LightGrey;     // what the program asked for
  int sentAttribute = -1;        // what the terminal has; -1 unknown
  int cursorVisible = -1;        // 1 shown, 0 hidden, -1 unknown
  int column = 0;                // the cursor's column where surely known; 0 unknown
  bool lineFeedReturns = false;  // the terminal's output settings turn "\n" into "\r\n"
  // Output sizes: just after a one-byte character written before the last column, and just
  // after that character was backed over (the loader's activity indicator).
  size_t plainCharacterEnd = std::string::npos;
  size_t backedOverEnd = std::string::npos;
  KeyDecoder decoder;
  std::string keys;  // decoded key bytes not delivered yet
  std::string input;
};

Terminal terminal;

// The coarse clock (a few milliseconds fine) is plenty for a 40 ms interval and costs a tenth
// of the precise one, which the loader would otherwise read once per line.
int64_t Milliseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Async-signal-safe: only write(2) and tcsetattr(3).
void RestoreTerminal() {
  ssize_t ignored = write(STDOUT_FILENO, TerminalReset, sizeof TerminalReset - 1);
  (void)ignored;
  if (terminal.settingsSaved) tcsetattr(STDIN_FILENO, TCSADRAIN, &terminal.saved);
}

void EndBySignal(int signalNumber) {
  RestoreTerminal();
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);  // delivered with the default action once this handler returns
}

bool WriteAll(const char* bytes, size_t size) {
  while (size > 0) {
    const ssize_t written = write(STDOUT_FILENO, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

void ReadSize() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
    terminal.columns = size.ws_col;
    terminal.rows = size.ws_row;
  }
}

// Colours go out just before the text they colour, so a change of mind costs nothing.
void SendAttribute() {
  if (terminal.attribute == terminal.sentAttribute) return;
  constexpr char AnsiIndex[] = "04261537";
  const int colour = terminal.attribute & 0x0F;
  terminal.output += colour >= 8 ? "\x1b[0;1;3" : "\x1b[0;3";
  terminal.output += AnsiIndex[colour & 7];
  terminal.output += ";40m";
  terminal.sentAttribute = terminal.attribute;
}

void SetCursorVisible(bool visible) {
  if (terminal.cursorVisible == static_cast<int>(visible)) return;
  terminal.output += visible ? "\x1b[?25h" : "\x1b[?25l";
  terminal.cursorVisible = visible;
}

void BackUp() {
  const bool plainCharacterBefore = terminal.plainCharacterEnd == terminal.output.size();
  terminal.output.push_back('\b');
  terminal.backedOverEnd = plainCharacterBefore ? terminal.output.size() : std::string::npos;
  if (terminal.column > 1) --terminal.column;
}

// A one-byte character. Written over one that was just backed over with nothing between (the
// same cell, the same colours), it replaces that one in the buffer: the terminal would only
// ever show the second, and the loader's indicator would otherwise cost two bytes a line.
void PutPlainCharacter(char c) {
  if (terminal.backedOverEnd == terminal.output.size()) {
    terminal.output.resize(terminal.output.size() - 2);
    terminal.backedOverEnd = std::string::npos;  // the buffer shrank: the mark would come back
  }
  terminal.output.push_back(c);
  if (terminal.column > 0 && terminal.column < terminal.columns) {
    ++terminal.column;
    terminal.plainCharacterEnd = terminal.output.size();
  } else {
    terminal.column = 0;  // the last column: where the cursor waits differs among terminals
  }
}

void PutByte(uint8_t c) {
  switch (c) {
    case 7:
      terminal.output.push_back('\a');
      return;
    case 8:
      BackUp();
      return;
    case 13:
      terminal.output.push_back('\r');
      terminal.column = 1;
      return;
    case 10:
      terminal.output.push_back('\n');
      terminal.column = terminal.lineFeedReturns ? 1 : 0;
      return;
  }
  SendAttribute();
  if (c < 32 || c == 127) {
    PutPlainCharacter('?');
    return;
  }
  if (c < 128) {
    PutPlainCharacter(static_cast<char>(c));
    return;
  }
  terminal.column = 0;
  if (terminal.utf8)
    terminal.output += Cp437ToUtf8(c);
  else  // 128-159 are control codes in the ISO 8859 character sets
    terminal.output.push_back(c >= 160 ? static_cast<char>(c) : '?');
}

void ReceiveInput() {
  for (;;) {
    if (DecoderWaiting(terminal.decoder) && terminal.input.empty()) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(STDIN_FILENO, &ready);
      timeval wait{0, EscapeWaitMilliseconds * 1000};
      const int found = select(STDIN_FILENO + 1, &ready, nullptr, nullptr, &wait);
      if (found < 0 && errno == EINTR) continue;
      if (found == 0) {
        DecodeTimeout(terminal.decoder, terminal.keys);
        return;
      }
    }
    if (terminal.input.empty()) {
      char bytes[64];
      const ssize_t received = read(STDIN_FILENO, bytes, sizeof bytes);
      if (received < 0 && errno == EINTR) continue;
      if (received <= 0) {
        if (received == 0) errno = EIO;  // the terminal is gone: nothing will ever come
        EndWithIoError(IoErrorCode());
      }
      terminal.input.assign(bytes, static_cast<size_t>(received));
    }
    const uint8_t byte = static_cast<uint8_t>(terminal.input.front());
    terminal.input.erase(0, 1);
    DecodeKeyByte(terminal.decoder, byte, terminal.keys);
    if (!terminal.keys.empty()) return;
  }
}

}  // namespace

void InitConsole() {
  std::setlocale(LC_CTYPE, "");
  terminal.utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
  terminal.decoder.utf8 = terminal.utf8;
  terminal.lastFlush = Milliseconds();
  // A closed output or a file-size limit is a failed write, reported like any other.
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
  const bool onTerminal = isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);  // else 80x25, no termios
  if (onTerminal) {
    ReadSize();
    termios output{};
    terminal.lineFeedReturns = tcgetattr(STDOUT_FILENO, &output) == 0 &&
                               (output.c_oflag & OPOST) != 0 && (output.c_oflag & ONLCR) != 0;
    terminal.settingsSaved = tcgetattr(STDIN_FILENO, &terminal.saved) == 0;
  }
  // Only now can an end signal put the terminal back as it was.
  for (int signalNumber : EndSignals) signal(signalNumber, EndBySignal);
  if (!terminal.settingsSaved) return;
  termios raw = terminal.saved;
  raw.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON | ISTRIP | BRKINT);
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  // Output processing stays on, so a line feed also returns to column 1.
  tcsetattr(STDIN_FILENO, TCSADRAIN, &raw);
}

bool EnsureConsoleSize() {
  if (terminal.columns >= ScreenColumns && terminal.rows >= ScreenRows) return true;
  terminal.output += "\x1b[8;25;80t";  // xterm's window resize request
  FlushConsole();
  for (int attempt = 0; attempt < 25; ++attempt) {
    const timespec pause{0, 20 * 1000000};
    nanosleep(&pause, nullptr);
    ReadSize();
    if (terminal.columns >= ScreenColumns && terminal.rows >= ScreenRows) return true;
  }
  return false;
}

void EndRun(int status) {
  FlushConsole();
  RestoreTerminal();
  std::exit(status);
}

void EndByInterrupt() {
  terminal.output.push_back('\n');  // whatever comes next starts on a line of its own
  WriteAll(terminal.output.data(), terminal.output.size());
  RestoreTerminal();
  signal(SIGINT, SIG_DFL);
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  sigprocmask(SIG_UNBLOCK, &interrupt, nullptr);
  raise(SIGINT);
  _exit(InterruptStatus);  // only if SIGINT could not end the process
}

void EndWithIoError(int code) {
  WriteAll(terminal.output.data(), terminal.output.size());
  terminal.output.clear();
  RestoreTerminal();
  const std::string report = "\r\nRuntime error " + std::to_string(code) + "\r\n";
  if (!WriteAll(report.data(), report.size())) {
    ssize_t ignored = write(STDERR_FILENO, report.data(), report.size());
    (void)ignored;
  }
  _exit(code);
}

void ClearScreen() {
  SendAttribute();
  terminal.output += "\x1b[H\x1b[2J";
  terminal.column = 1;
}

void ClearToEndOfLine() {
  SendAttribute();
  terminal.output += "\x1b[K";
}

void MoveCursor(int column, int row) {
  if (column < 1 || column > terminal.columns || row < 1 || row > terminal.rows) return;
  terminal.output += "\x1b[" + std::to_string(row) + ";" + std::to_string(column) + "H";
  terminal.column = column;
}

void SetTextColor(int colour) {
  terminal.attribute = (terminal.attribute & 0xF0) | (colour & 0x0F);
}
void ShowCursor() { SetCursorVisible(true); }
void HideCursor() { SetCursorVisible(false); }
void WriteChar(uint8_t character) { PutByte(character); }

void FlushConsole() {
  if (!terminal.output.empty() && !WriteAll(terminal.output.data(), terminal.output.size())) {
    terminal.output.clear();
    EndWithIoError(IoErrorCode());
  }
  terminal.output.clear();
  terminal.plainCharacterEnd = terminal.backedOverEnd = std::string::npos;
  terminal.lastFlush = Milliseconds();
}

void FlushConsoleIfDue() {
  if (Milliseconds() - terminal.lastFlush >= FlushIntervalMilliseconds) FlushConsole();
}

uint8_t ReadKeyByte() {
  if (terminal.keys.empty()) FlushConsole();
  while (terminal.keys.empty()) ReceiveInput();
  const uint8_t key = static_cast<uint8_t>(terminal.keys.front());
  terminal.keys.erase(0, 1);
  return key;
}
