// Linux binding: an ANSI/VT100 terminal on standard input and output. The terminal's
// settings are changed in one place (InitConsole) and restored by RestoreTerminal, which every
// end reaches: the normal end, the Runtime error end, Ctrl+C, and the signals that end the run.
//
// The program draws into a cell grid; each flush writes only the cells the terminal does not
// show yet. The grid also repaints the screen after a resize, Ctrl+L, or foreign output.
#include "console/console.h"

#include <fcntl.h>
#include <langinfo.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

#include "console/cell_grid.h"
#include "console/linux/charset.h"
#include "console/linux/key_decoder.h"
#include "console/linux/screen_writer.h"
#include "platform/linux/end_signals.h"
#include "platform/platform.h"

namespace {

constexpr int FlushIntervalMilliseconds = 40;
constexpr uint8_t RepaintKey = 12;  // Ctrl+L
constexpr char TerminalReset[] = "\x1b[0m\x1b[?25h";

struct Terminal {
  bool initialised = false;    // the screen is ours; the forms for scripts never take it
  bool settingsSaved = false;  // saved is what every end puts back
  termios saved{};
  sigset_t keyWaitSignals{};  // the signal mask while waiting for a key: resizes get through
  int columns = ScreenColumns;
  int rows = ScreenRows;
  CellGrid grid;      // what the program has drawn
  TerminalView view;  // what the terminal shows
  bool repaintDue = false;
  UpperHalfTexts upperHalf;
  std::string output;  // not written yet
  int64_t lastFlush = 0;
  KeyDecoder decoder;
  TypedText typed;
  std::string keys;  // decoded key bytes not delivered yet
  std::string input;
  bool scanCodeNext = false;         // the last key delivered was the 0 of a navigation key
  std::optional<IoFailure> failure;  // the first write or read that failed: no key comes now
};

Terminal terminal;
volatile sig_atomic_t resized = 0;
// While the editor holds the end signals, the first that arrives waits here for the key wait,
// which the handler wakes through a pipe of its own.
volatile sig_atomic_t endSignalsHeld = 0;
volatile sig_atomic_t heldSignal = 0;
int wakePipe[2] = {-1, -1};

// The coarse clock (a few milliseconds fine) is plenty for a 40 ms interval and costs a tenth
// of the precise one, which the loader would otherwise read once per line.
int64_t Milliseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Async-signal-safe: only write(2) and tcsetattr(3).
void RestoreTerminal() {
  if (!terminal.initialised) return;  // a form for scripts never took the terminal
  ssize_t ignored = write(STDOUT_FILENO, TerminalReset, sizeof TerminalReset - 1);
  (void)ignored;
  if (terminal.settingsSaved) tcsetattr(STDIN_FILENO, TCSADRAIN, &terminal.saved);
}

void EndBySignal(int signalNumber) {
  if (endSignalsHeld) {
    if (!heldSignal) heldSignal = signalNumber;
    ssize_t ignored = write(wakePipe[1], "!", 1);
    (void)ignored;
    return;
  }
  RestoreTerminal();
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);  // delivered with the default action once this handler returns
}

void NoteResize(int) { resized = 1; }

// A terminal that takes no more output never holds up an end signal: the write gives up.
bool WriteAll(const char* bytes, size_t size) {
  while (size > 0) {
    const ssize_t written = write(STDOUT_FILENO, bytes, size);
    if (written < 0 && errno == EINTR && !heldSignal) continue;
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

bool TooSmall() { return terminal.columns < ScreenColumns || terminal.rows < ScreenRows; }

// Clears the terminal and forgets what it showed, so the next flush writes every cell.
void AppendRepaint() {
  terminal.output.clear();  // whatever it held is drawn again
  AppendColour(-1, LightGrey, terminal.output);
  terminal.output += "\x1b[H\x1b[2J";
  terminal.view = TerminalView{};
  terminal.view.attribute = LightGrey;
  terminal.view.column = terminal.view.row = 1;
}

// Appends what the terminal needs to show the grid. After a resize the screen is repainted
// once the terminal holds 80x25 again; until then nothing is drawn. A terminal that was small
// from the start is drawn within its size.
void AppendDrawing() {
  if (resized) {
    resized = 0;
    ReadSize();
    terminal.repaintDue = true;
  }
  if (terminal.repaintDue) {
    if (TooSmall()) return terminal.output.clear();
    AppendRepaint();
    terminal.repaintDue = false;
  }
  WriteChanges(terminal.grid, terminal.view, std::min(terminal.columns, ScreenColumns),
               std::min(terminal.rows, ScreenRows), terminal.upperHalf, terminal.output);
}

// Feeds one received byte through the decoder and the character set.
void Decode(uint8_t byte) {
  std::string decoded;
  DecodeKeyByte(terminal.decoder, byte, decoded);
  AppendTyped(terminal.typed, decoded, terminal.keys);
}

// Reads and decodes until a key is ready, no key can come, a held end signal arrived, or the
// deadline (milliseconds on the coarse clock; none: -1) has passed. A resize wakes it.
void ReceiveInput(int64_t deadline) {
  while (terminal.keys.empty() && !terminal.failure && !heldSignal) {
    if (!terminal.input.empty()) {
      const uint8_t byte = static_cast<uint8_t>(terminal.input.front());
      terminal.input.erase(0, 1);
      Decode(byte);
      continue;
    }
    // An escape sequence waits a while for its next byte; the caller's deadline may be nearer.
    const int64_t decoderWait = DecoderWaitMilliseconds(terminal.decoder);
    int64_t wait = decoderWait;
    if (deadline >= 0) {
      const int64_t left = std::max<int64_t>(deadline - Milliseconds(), 0);
      if (wait < 0 || left < wait) wait = left;
    }
    const bool sequenceTimes = decoderWait >= 0 && wait == decoderWait;
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(STDIN_FILENO, &ready);
    if (wakePipe[0] >= 0) FD_SET(wakePipe[0], &ready);
    const timespec timeout{wait / 1000, (wait % 1000) * 1000000L};
    const int found = pselect(std::max(STDIN_FILENO, wakePipe[0]) + 1, &ready, nullptr, nullptr,
                              wait >= 0 ? &timeout : nullptr, &terminal.keyWaitSignals);
    if (found < 0 && errno == EINTR) {
      if (resized) FlushConsole();
      continue;
    }
    if (found == 0) {
      if (!sequenceTimes) return;  // the caller's time is up
      std::string decoded;
      DecodeTimeout(terminal.decoder, decoded);
      AppendTyped(terminal.typed, decoded, terminal.keys);
      continue;
    }
    if (found > 0 && wakePipe[0] >= 0 && FD_ISSET(wakePipe[0], &ready)) {
      char drained[16];
      while (read(wakePipe[0], drained, sizeof drained) > 0) {
      }
      continue;
    }
    char bytes[64];
    const ssize_t received = found < 0 ? -1 : read(STDIN_FILENO, bytes, sizeof bytes);
    if (received < 0 && errno == EINTR) continue;
    if (received <= 0) {
      if (received == 0) errno = EIO;  // the terminal is gone: nothing will ever come
      if (!terminal.failure) terminal.failure = LastIoFailure();
      return;
    }
    terminal.input.assign(bytes, static_cast<size_t>(received));
  }
}

}  // namespace

bool HasTerminal() { return isatty(STDIN_FILENO) && isatty(STDOUT_FILENO); }

void ReleaseScreen() {
  FlushConsole();
  RestoreTerminal();
  terminal.initialised = false;
}

std::string LocaleTextOnScreen(std::string_view text) {
  return LocaleToCp437(terminal.typed.toCp437.get(), text);
}

void InitConsole() {
  terminal.initialised = true;
  std::setlocale(LC_CTYPE, "");
  const char* charset = nl_langinfo(CODESET);
  ShowUpperHalfIn(charset, terminal.upperHalf);
  OpenTypedText(terminal.typed, charset);
  terminal.grid.lastColumnMovesOn = LastColumnMovesCursorOn();
  terminal.lastFlush = Milliseconds();
  // A closed output or a file-size limit is a failed write, reported like any other.
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
  // A resize is taken in while waiting for a key, never in the middle of drawing.
  sigset_t resize;
  sigemptyset(&resize);
  sigaddset(&resize, SIGWINCH);
  sigprocmask(SIG_BLOCK, &resize, &terminal.keyWaitSignals);
  signal(SIGWINCH, NoteResize);
  const bool onTerminal = isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);  // else 80x25, no termios
  if (onTerminal) {
    ReadSize();
    terminal.settingsSaved = tcgetattr(STDIN_FILENO, &terminal.saved) == 0;
  }
  // Only now can an end signal put the terminal back as it was. No system call restarts after
  // one, so a write the terminal does not take cannot hold a held signal up.
  if (pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) wakePipe[0] = wakePipe[1] = -1;
  struct sigaction ending {};
  ending.sa_handler = EndBySignal;
  sigemptyset(&ending.sa_mask);
  for (int signalNumber : EndSignals) sigaction(signalNumber, &ending, nullptr);
  if (!terminal.settingsSaved) return;
  termios raw = terminal.saved;
  raw.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON | ISTRIP | BRKINT);
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSADRAIN, &raw);
}

bool EnsureConsoleSize() {
  if (!TooSmall()) return true;
  // xterm's window resize request; a dimension already large enough is kept.
  const std::string request = "\x1b[8;" + std::to_string(std::max(terminal.rows, ScreenRows)) +
                              ";" + std::to_string(std::max(terminal.columns, ScreenColumns)) + "t";
  FlushConsole();
  if (!terminal.failure && !WriteAll(request.data(), request.size()))
    terminal.failure = LastIoFailure();
  for (int attempt = 0; attempt < 25; ++attempt) {
    const timespec pause{0, 20 * 1000000};
    nanosleep(&pause, nullptr);
    ReadSize();
    if (!TooSmall()) {
      terminal.repaintDue = true;  // what it showed while small may be anywhere now
      return true;
    }
  }
  return false;
}

namespace {

// Ctrl+C before the editor: the end an interrupted program has, so a shell reports 130.
[[noreturn]] void EndByInterrupt() {
  PutGridByte(terminal.grid, '\n');  // whatever comes next starts on a line of its own
  AppendDrawing();
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

[[noreturn]] void EndWithIoError(int code) {
  if (!terminal.initialised) {  // a form for scripts: a plain line, and no screen control
    const std::string report = "Runtime error " + std::to_string(code) + "\n";
    ssize_t ignored = write(STDERR_FILENO, report.data(), report.size());
    (void)ignored;
    _exit(code);
  }
  if (!terminal.failure) {
    AppendDrawing();
    WriteAll(terminal.output.data(), terminal.output.size());
  }
  terminal.output.clear();
  RestoreTerminal();
  // Below the screen, so neither the report nor the shell's prompt lands on what it shows.
  const std::string report = "\x1b[" + std::to_string(terminal.rows) + ";1H\r\nRuntime error " +
                             std::to_string(code) + "\r\n";
  if (!WriteAll(report.data(), report.size())) {
    ssize_t ignored = write(STDERR_FILENO, report.data(), report.size());
    (void)ignored;
  }
  _exit(code);
}

}  // namespace

void EndRun(RunEnd end) {
  if (end.kind == RunEnd::Exit && terminal.initialised) {
    FlushConsole();
    // A screen that could not be drawn is a failure, whatever the run meant to end with.
    if (terminal.failure) end = EndByFailure(*terminal.failure);
  }
  switch (end.kind) {
    case RunEnd::Exit:
      RestoreTerminal();
      std::exit(end.code);
    case RunEnd::Interrupt:
      EndByInterrupt();
    case RunEnd::Signal:
      FlushConsole();
      RestoreTerminal();
      endSignalsHeld = 0;
      signal(end.code, SIG_DFL);
      raise(end.code);
      _exit(128 + end.code);  // only if the signal could not end the process
    case RunEnd::IoError:
      EndWithIoError(end.code);
  }
  _exit(end.code);
}

// A clear is sent at once: it replaces everything the terminal shows, at four bytes.
void ClearScreen() {
  ClearGrid(terminal.grid);
  AppendColour(terminal.view.attribute, terminal.grid.attribute, terminal.output);
  terminal.output += "\x1b[H\x1b[2J";
  std::memcpy(terminal.view.cells, terminal.grid.cells, sizeof terminal.view.cells);
  terminal.view.attribute = terminal.grid.attribute;
  terminal.view.column = terminal.view.row = 1;
}

void ClearToEndOfLine() { ClearGridToEndOfLine(terminal.grid); }

void MoveCursor(int column, int row) { MoveGridCursor(terminal.grid, column, row); }

void SetTextColor(int colour) {
  terminal.grid.attribute =
      static_cast<uint8_t>((terminal.grid.attribute & 0xF0) | (colour & 0x0F));
}

void ShowCursor() { terminal.grid.cursorVisible = true; }
void HideCursor() { terminal.grid.cursorVisible = false; }

void WriteChar(uint8_t character) {
  if (character == 7) terminal.output.push_back('\a');
  const int scrolls = terminal.grid.scrolls;
  PutGridByte(terminal.grid, character);
  // A 25-row terminal scrolls with the grid; on a taller one the rows are written again.
  if (terminal.grid.scrolls != scrolls && terminal.rows == ScreenRows && !terminal.repaintDue &&
      terminal.columns >= ScreenColumns)
    WriteScroll(terminal.view, terminal.output);
}

// A failed write is held for ConsoleEnd: the program finds it at its next key wait and ends
// there, with whatever it still has to put aside put aside.
void FlushConsole() {
  AppendDrawing();
  if (!terminal.failure && !terminal.output.empty() &&
      !WriteAll(terminal.output.data(), terminal.output.size()) && !heldSignal)
    terminal.failure = LastIoFailure();
  terminal.output.clear();
  terminal.lastFlush = Milliseconds();
}

void FlushConsoleIfDue() {
  if (Milliseconds() - terminal.lastFlush >= FlushIntervalMilliseconds) FlushConsole();
}

// Ctrl+L is the binding's own: it repaints the screen and is no key of the program's.
bool WaitForKey(int milliseconds) {
  if (terminal.keys.empty()) FlushConsole();
  ReceiveInput(Milliseconds() + milliseconds);
  return !terminal.keys.empty() || ConsoleEnd();
}

void HoldEndSignals(bool held) { endSignalsHeld = held; }

std::optional<uint8_t> ReadKeyByte() {
  for (;;) {
    if (terminal.keys.empty()) FlushConsole();
    ReceiveInput(-1);
    if (ConsoleEnd()) return std::nullopt;
    const uint8_t key = static_cast<uint8_t>(terminal.keys.front());
    terminal.keys.erase(0, 1);
    const bool scanCode = terminal.scanCodeNext;
    terminal.scanCodeNext = key == 0 && !scanCode;
    if (key == RepaintKey && !scanCode) {
      terminal.repaintDue = true;
      continue;
    }
    return key;
  }
}

std::optional<RunEnd> ConsoleEnd() {
  if (heldSignal) return RunEnd{RunEnd::Signal, heldSignal};
  if (terminal.failure) return EndByFailure(*terminal.failure);
  return std::nullopt;
}
