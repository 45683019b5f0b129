// Windows binding: the Win32 console of the process. Characters are written as cells with
// WriteConsoleOutputA, so no byte of a text can act as a console command. The console's
// settings are changed in InitConsole and restored by RestoreConsole, which every end reaches:
// the normal end, the Runtime error end, Ctrl+C, and the console being closed.
#include "console/console.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "console/cell_grid.h"
#include "console/windows/key_events.h"
#include "platform/platform.h"

namespace {

constexpr ULONGLONG FlushIntervalMilliseconds = 40;
constexpr uint8_t RepaintKey = 12;  // Ctrl+L
constexpr DWORD IgnoredInputModes = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT |
                                    ENABLE_MOUSE_INPUT | ENABLE_WINDOW_INPUT;

struct Console {
  HANDLE input = INVALID_HANDLE_VALUE;
  HANDLE output = INVALID_HANDLE_VALUE;
  bool screen = false;  // output is a console; otherwise a redirected byte stream
  bool inputModeSaved = false;
  DWORD savedInputMode = 0;
  DWORD cursorSize = 25;
  SMALL_RECT window{0, 0, ScreenColumns - 1, ScreenRows - 1};  // in buffer coordinates
  SHORT bufferColumns = ScreenColumns;
  int columns = ScreenColumns;
  int rows = ScreenRows;
  WORD attribute = LightGrey;
  int column = 1;  // the cursor, 1-based within the window
  int row = 1;
  bool cursorVisible = true;
  int shownColumn = -1;  // what the console has been told; -1 unknown
  int shownRow = -1;
  int shownVisible = -1;
  // Cells written since the last flush: one run of one row, so a redrawn row costs one call.
  int runRow = 0;
  int runFirst = 0;
  std::vector<CHAR_INFO> run;
  std::string stream;  // what goes to a redirected output
  ULONGLONG lastFlush = 0;
  std::string keys;           // key bytes not delivered yet
  bool scanCodeNext = false;  // the last key delivered was the 0 of a navigation key
  CellGrid grid;              // the 80x25 cells drawn, for Ctrl+L
  // The first console call that failed: nothing more is drawn, no key comes now.
  std::optional<IoFailure> failure;
};

Console console;
// While the editor holds them, closing the window waits for the key wait to put the work aside.
std::atomic<bool> closeHeld{false};
std::atomic<bool> closing{false};

// The console calls report through GetLastError, not errno.
IoFailure LastConsoleFailure() {
  errno = 0;
  return LastIoFailure();
}

// A failure is held for ConsoleEnd: the program finds it at its next key wait.
void Check(BOOL ok) {
  if (!ok && !console.failure) console.failure = LastConsoleFailure();
}

// Called from the console's control thread too: only plain console calls.
void RestoreConsole() {
  if (console.inputModeSaved) SetConsoleMode(console.input, console.savedInputMode);
  if (console.screen) {
    const CONSOLE_CURSOR_INFO shown{console.cursorSize, TRUE};
    SetConsoleCursorInfo(console.output, &shown);
  }
}

// Ctrl+C is a key, never an end by itself: with processed input off the console sends it as
// one, but wine on a terminal still turns it into this event, which goes back in as the key.
// Closing the window, logging off or Ctrl+Break: restore, then let Windows end the process.
BOOL WINAPI RestoreOnClose(DWORD event) {
  if (event == CTRL_C_EVENT) {
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    record.Event.KeyEvent.bKeyDown = TRUE;
    record.Event.KeyEvent.wRepeatCount = 1;
    record.Event.KeyEvent.wVirtualKeyCode = 'C';
    record.Event.KeyEvent.uChar.AsciiChar = 3;
    record.Event.KeyEvent.dwControlKeyState = LEFT_CTRL_PRESSED;
    DWORD written;
    WriteConsoleInputA(console.input, &record, 1, &written);
    return TRUE;
  }
  if (closeHeld) {
    closing = true;
    // A key event that is no key (Shift) wakes the key wait, which finds the console closing.
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    record.Event.KeyEvent.bKeyDown = TRUE;
    record.Event.KeyEvent.wRepeatCount = 1;
    record.Event.KeyEvent.wVirtualKeyCode = VK_SHIFT;
    DWORD written;
    WriteConsoleInputA(console.input, &record, 1, &written);
    Sleep(5000);  // Windows ends the process after that long; the program ends it first
    return TRUE;
  }
  RestoreConsole();
  return FALSE;
}

// Takes in what the console has queued, waiting for at least one record.
void ReadRecords() {
  INPUT_RECORD records[16];
  DWORD count = 0;
  if (!ReadConsoleInputA(console.input, records, 16, &count)) {
    console.failure = LastConsoleFailure();
  } else if (count == 0) {
    console.failure = IoFailure{EIO};  // the input has ended: nothing will ever come
  }
  for (DWORD i = 0; i < count; ++i) TranslateInputRecord(records[i], console.keys);
}

bool ReadSize() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(console.output, &info)) return false;
  console.window = info.srWindow;
  console.bufferColumns = info.dwSize.X;
  console.columns = info.srWindow.Right - info.srWindow.Left + 1;
  console.rows = info.srWindow.Bottom - info.srWindow.Top + 1;
  return true;
}

COORD BufferPosition(int column, int row) {
  return COORD{static_cast<SHORT>(console.window.Left + column - 1),
               static_cast<SHORT>(console.window.Top + row - 1)};
}

// The layout is made for 80 columns: a wider window still moves on after column 80.
int LastColumn() { return std::min(console.columns, ScreenColumns); }

void FlushRun() {
  if (console.run.empty()) return;
  const SHORT length = static_cast<SHORT>(console.run.size());
  const COORD first = BufferPosition(console.runFirst, console.runRow);
  SMALL_RECT area{first.X, first.Y, static_cast<SHORT>(first.X + length - 1), first.Y};
  const BOOL ok =
      WriteConsoleOutputA(console.output, console.run.data(), COORD{length, 1}, COORD{0, 0}, &area);
  console.run.clear();
  Check(ok);
}

// Cells of the same row join the pending run while they touch it; anything else sends it.
void StoreCell(int column, uint8_t character) {
  const int runEnd = console.runFirst + static_cast<int>(console.run.size());
  if (!console.run.empty() &&
      (console.row != console.runRow || column < console.runFirst || column > runEnd))
    FlushRun();
  if (console.run.empty()) {
    console.runRow = console.row;
    console.runFirst = column;
  }
  CHAR_INFO cell;
  cell.Char.AsciiChar = static_cast<CHAR>(character);
  cell.Attributes = console.attribute;
  const size_t index = static_cast<size_t>(column - console.runFirst);
  if (index == console.run.size())
    console.run.push_back(cell);
  else
    console.run[index] = cell;
}

void NextRow() {
  console.column = 1;
  if (console.row < console.rows) {
    ++console.row;
    return;
  }
  // At the bottom the window's contents move up one row; the new bottom row is blank.
  FlushRun();
  const SMALL_RECT window = console.window;
  const SMALL_RECT moved{window.Left, static_cast<SHORT>(window.Top + 1), window.Right,
                         window.Bottom};
  CHAR_INFO blank;
  blank.Char.AsciiChar = ' ';
  blank.Attributes = console.attribute;
  Check(ScrollConsoleScreenBufferA(console.output, &moved, &window, COORD{window.Left, window.Top},
                                   &blank));
}

void PutByte(uint8_t c) {
  if (!console.screen) {
    if (c == 7) return;
    const bool moves = c == 8 || c == 10 || c == 13;
    console.stream.push_back(static_cast<char>(moves ? c : ShownByte(c)));
    return;
  }
  switch (c) {
    case 7:  // the Windows console has no bell
      return;
    case 8:
      console.column = std::max(1, console.column - 1);
      return;
    case 10:
      NextRow();
      return;
    case 13:
      console.column = 1;
      return;
  }
  c = ShownByte(c);
  StoreCell(console.column, c);  // bytes 128-255 go out unchanged, in the console's code page
  if (console.column < LastColumn())
    ++console.column;
  else
    NextRow();
}

bool WriteStream(HANDLE handle, const char* bytes, size_t size) {
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(handle, bytes, static_cast<DWORD>(std::min<size_t>(size, 1 << 16)), &written,
                   nullptr) ||
        written == 0)
      return false;
    bytes += written;
    size -= written;
  }
  return true;
}

// The grid written over the window's top-left 80x25 cells, the cursor told again.
void Repaint() {
  if (!console.screen) return;
  FlushRun();
  CHAR_INFO cells[ScreenRows][ScreenColumns];
  for (int row = 0; row < ScreenRows; ++row)
    for (int column = 0; column < ScreenColumns; ++column) {
      cells[row][column].Char.AsciiChar =
          static_cast<CHAR>(console.grid.cells[row][column].character);
      cells[row][column].Attributes = console.grid.cells[row][column].attribute;
    }
  const COORD first = BufferPosition(1, 1);
  SMALL_RECT area{first.X, first.Y, static_cast<SHORT>(first.X + ScreenColumns - 1),
                  static_cast<SHORT>(first.Y + ScreenRows - 1)};
  Check(WriteConsoleOutputA(console.output, &cells[0][0], COORD{ScreenColumns, ScreenRows},
                            COORD{0, 0}, &area));
  console.shownColumn = console.shownRow = console.shownVisible = -1;
}

}  // namespace

bool HasTerminal() {
  DWORD mode;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) &&
         GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode);
}

void ReleaseScreen() {
  FlushConsole();
  RestoreConsole();
}

// Names come in the ANSI code page; the console shows its own (the OEM one).
std::string LocaleTextOnScreen(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring wide(text.size(), L'\0');
  const int characters = MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), size);
  const UINT codePage = GetConsoleOutputCP() != 0 ? GetConsoleOutputCP() : GetOEMCP();
  std::string shown(static_cast<size_t>(characters) * 2 + 1, '\0');
  const int bytes = WideCharToMultiByte(codePage, 0, wide.data(), characters, shown.data(),
                                        static_cast<int>(shown.size()), "?", nullptr);
  shown.resize(static_cast<size_t>(bytes > 0 ? bytes : 0));
  return shown;
}

void InitConsole() {
  console.grid.lastColumnMovesOn = LastColumnMovesCursorOn();
  console.input = GetStdHandle(STD_INPUT_HANDLE);
  console.output = GetStdHandle(STD_OUTPUT_HANDLE);
  console.lastFlush = GetTickCount64();
  console.screen = ReadSize();
  if (console.screen) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    GetConsoleScreenBufferInfo(console.output, &info);
    console.column =
        std::clamp(info.dwCursorPosition.X - console.window.Left + 1, 1, console.columns);
    console.row = std::clamp(info.dwCursorPosition.Y - console.window.Top + 1, 1, console.rows);
    console.shownColumn = console.column;
    console.shownRow = console.row;
    CONSOLE_CURSOR_INFO cursor;
    if (GetConsoleCursorInfo(console.output, &cursor)) console.cursorSize = cursor.dwSize;
  }
  DWORD mode;
  if (GetConsoleMode(console.input, &mode)) {
    console.savedInputMode = mode;
    // Keys arrive one by one, unechoed, and Ctrl+C is an ordinary key.
    console.inputModeSaved = SetConsoleMode(console.input, mode & ~IgnoredInputModes);
  }
  SetConsoleCtrlHandler(RestoreOnClose, TRUE);
}

bool EnsureConsoleSize() {
  if (console.columns >= ScreenColumns && console.rows >= ScreenRows) return true;
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(console.output, &info)) return false;
  // The buffer must hold the window before the window may grow.
  const COORD buffer{std::max<SHORT>(info.dwSize.X, ScreenColumns),
                     std::max<SHORT>(info.dwSize.Y, ScreenRows)};
  SetConsoleScreenBufferSize(console.output, buffer);
  const SHORT left = std::min<SHORT>(info.srWindow.Left, buffer.X - ScreenColumns);
  const SHORT top = std::min<SHORT>(info.srWindow.Top, buffer.Y - ScreenRows);
  const SMALL_RECT wanted{left, top, static_cast<SHORT>(left + ScreenColumns - 1),
                          static_cast<SHORT>(top + ScreenRows - 1)};
  SetConsoleWindowInfo(console.output, TRUE, &wanted);
  ReadSize();
  console.shownColumn = console.shownRow = -1;
  return console.columns >= ScreenColumns && console.rows >= ScreenRows;
}

namespace {

[[noreturn]] void EndWithIoError(int code) {
  // Below the screen, so neither the report nor the prompt lands on what it shows.
  console.column = 1;
  console.row = console.rows;
  if (!console.failure) FlushConsole();
  RestoreConsole();
  const std::string report = "\r\nRuntime error " + std::to_string(code) + "\r\n";
  if (!WriteStream(console.output, report.data(), report.size()))
    WriteStream(GetStdHandle(STD_ERROR_HANDLE), report.data(), report.size());
  std::_Exit(code);
}

}  // namespace

void EndRun(RunEnd end) {
  if (end.kind == RunEnd::Interrupt) WriteChar('\n');  // what comes next starts on its own line
  if (end.kind != RunEnd::IoError) {
    FlushConsole();
    // A screen that could not be drawn is a failure, whatever the run meant to end with.
    if (console.failure) end = EndByFailure(*console.failure);
  }
  switch (end.kind) {
    case RunEnd::Exit:
      RestoreConsole();
      std::exit(end.code);
    case RunEnd::Interrupt:
      RestoreConsole();
      std::exit(InterruptStatus);
    case RunEnd::Signal:  // the window closed while the editor held it off
      RestoreConsole();
      std::exit(128 + end.code);
    case RunEnd::IoError:
      EndWithIoError(end.code);
  }
  std::_Exit(end.code);
}

void ClearScreen() {
  ClearGrid(console.grid);
  console.column = console.row = 1;
  if (!console.screen) return;
  console.run.clear();  // blanked anyway
  const SMALL_RECT window = console.window;
  // A window as wide as the buffer is one stretch of cells; otherwise each row is its own.
  const bool whole = window.Left == 0 && console.columns == console.bufferColumns;
  const DWORD length = static_cast<DWORD>(console.columns) * (whole ? console.rows : 1);
  for (int row = 1; row <= (whole ? 1 : console.rows); ++row) {
    DWORD done;
    Check(FillConsoleOutputCharacterA(console.output, ' ', length, BufferPosition(1, row), &done));
    Check(FillConsoleOutputAttribute(console.output, console.attribute, length,
                                     BufferPosition(1, row), &done));
  }
}

void ClearToEndOfLine() {
  ClearGridToEndOfLine(console.grid);
  if (!console.screen) return;
  for (int column = console.column; column <= console.columns; ++column) StoreCell(column, ' ');
}

void MoveCursor(int column, int row) {
  MoveGridCursor(console.grid, column, row);
  if (column < 1 || column > console.columns || row < 1 || row > console.rows) return;
  console.column = column;
  console.row = row;
}

void SetTextColor(int colour) {
  console.attribute = static_cast<WORD>((console.attribute & 0xF0) | (colour & 0x0F));
  console.grid.attribute = static_cast<uint8_t>(console.attribute);
}

void ShowCursor() { console.cursorVisible = true; }
void HideCursor() { console.cursorVisible = false; }
void WriteChar(uint8_t character) {
  PutGridByte(console.grid, character);
  PutByte(character);
}

void FlushConsole() {
  if (console.screen) {
    FlushRun();
    if (console.column != console.shownColumn || console.row != console.shownRow) {
      Check(SetConsoleCursorPosition(console.output, BufferPosition(console.column, console.row)));
      console.shownColumn = console.column;
      console.shownRow = console.row;
    }
    if (static_cast<int>(console.cursorVisible) != console.shownVisible) {
      CONSOLE_CURSOR_INFO cursor;
      Check(GetConsoleCursorInfo(console.output, &cursor));
      cursor.dwSize = console.cursorSize;
      cursor.bVisible = console.cursorVisible;
      Check(SetConsoleCursorInfo(console.output, &cursor));
      console.shownVisible = console.cursorVisible;
    }
  } else if (!console.stream.empty()) {
    const bool ok = WriteStream(console.output, console.stream.data(), console.stream.size());
    console.stream.clear();
    Check(ok);
  }
  console.lastFlush = GetTickCount64();
}

void FlushConsoleIfDue() {
  if (GetTickCount64() - console.lastFlush >= FlushIntervalMilliseconds) FlushConsole();
}

// A blocking read: the console wakes it for every record, so no key is missed and no time is
// spent polling. Ctrl+L is the binding's own: it repaints the screen.
bool WaitForKey(int milliseconds) {
  if (console.keys.empty()) FlushConsole();
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  for (;;) {
    if (!console.keys.empty() || ConsoleEnd()) return true;
    DWORD pending = 0;
    if (!GetNumberOfConsoleInputEvents(console.input, &pending)) {
      console.failure = LastConsoleFailure();
      return true;
    }
    if (pending > 0) {
      ReadRecords();
      continue;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    WaitForSingleObject(console.input, static_cast<DWORD>(deadline - now));
  }
}

void HoldEndSignals(bool held) { closeHeld = held; }

std::optional<uint8_t> ReadKeyByte() {
  for (;;) {
    if (console.keys.empty()) FlushConsole();
    while (console.keys.empty() && !ConsoleEnd()) ReadRecords();
    if (ConsoleEnd()) return std::nullopt;
    const uint8_t key = static_cast<uint8_t>(console.keys.front());
    console.keys.erase(0, 1);
    const bool scanCode = console.scanCodeNext;
    console.scanCodeNext = key == 0 && !scanCode;
    if (key != RepaintKey || scanCode) return key;
    Repaint();
  }
}

std::optional<RunEnd> ConsoleEnd() {
  if (closing) return RunEnd{RunEnd::Signal, SIGTERM};
  if (console.failure) return EndByFailure(*console.failure);
  return std::nullopt;
}
