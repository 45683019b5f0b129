// In-memory console: the screen is a cell grid, keys come from a script. Behaves like the
// terminal of the platform it is built for (line end, the last-column rule).
#include "console/console.h"

#include <algorithm>
#include <cstring>
#include <deque>

#include "console/memory/memory_console.h"
#include "platform/platform.h"

namespace {

struct Cell {
  uint8_t character = ' ';
  uint8_t attribute = LightGrey;
};

struct Screen {
  Cell cells[ScreenRows][ScreenColumns];
  int column = 1;
  int row = 1;
  bool wrapPending = false;  // ANSI terminals: the last column was written, the cursor waits
  uint8_t attribute = LightGrey;
  bool cursorVisible = true;
  std::deque<uint8_t> keys;
  std::string written;
  std::set<int> rowsWritten;
  int bells = 0;
  int movesOutside = 0;
  int scrolls = 0;
  std::string runtimeErrorLine;
};

Screen screen;

void ScrollUp() {
  ++screen.scrolls;
  std::memmove(screen.cells[0], screen.cells[1], sizeof(Cell) * ScreenColumns * (ScreenRows - 1));
  std::fill(std::begin(screen.cells[ScreenRows - 1]), std::end(screen.cells[ScreenRows - 1]),
            Cell{' ', screen.attribute});
}

void NextRow() {
  screen.column = 1;
  if (screen.row == ScreenRows)
    ScrollUp();
  else
    ++screen.row;
}

void PutByte(uint8_t c) {
  screen.written.push_back(static_cast<char>(c));
  switch (c) {
    case 7:
      ++screen.bells;
      return;
    case 8:
      screen.wrapPending = false;
      screen.column = std::max(1, screen.column - 1);
      return;
    case 10:
      screen.wrapPending = false;
      NextRow();
      return;
    case 13:
      screen.wrapPending = false;
      screen.column = 1;
      return;
  }
  if (c < 32 || c == 127) c = '?';
  if (screen.wrapPending) {
    screen.wrapPending = false;
    NextRow();
  }
  screen.rowsWritten.insert(screen.row);
  screen.cells[screen.row - 1][screen.column - 1] = Cell{c, screen.attribute};
  if (screen.column < ScreenColumns)
    ++screen.column;
  else if (LastColumnMovesCursorOn())
    NextRow();
  else
    screen.wrapPending = true;
}

const Cell& At(int column, int row) { return screen.cells[row - 1][column - 1]; }

}  // namespace

void InitConsole() {}
bool EnsureConsoleSize() { return true; }

void EndRun(int status) {
  FlushConsole();
  throw ProgramEnd{status, false};
}

void EndWithIoError(int code) {
  screen.runtimeErrorLine = "Runtime error " + std::to_string(code);
  throw ProgramEnd{code, true};
}

void ClearScreen() {
  for (auto& row : screen.cells)
    std::fill(std::begin(row), std::end(row), Cell{' ', screen.attribute});
  for (int row = 1; row <= ScreenRows; ++row) screen.rowsWritten.insert(row);
  screen.column = screen.row = 1;
  screen.wrapPending = false;
}

void ClearToEndOfLine() {
  screen.rowsWritten.insert(screen.row);
  for (int column = screen.column; column <= ScreenColumns; ++column)
    screen.cells[screen.row - 1][column - 1] = Cell{' ', screen.attribute};
}

void MoveCursor(int column, int row) {
  if (column < 1 || column > ScreenColumns || row < 1 || row > ScreenRows) {
    ++screen.movesOutside;
    return;
  }
  screen.column = column;
  screen.row = row;
  screen.wrapPending = false;
}

void SetTextColor(int colour) {
  screen.attribute = static_cast<uint8_t>((screen.attribute & 0xF0) | (colour & 0x0F));
}

void ShowCursor() { screen.cursorVisible = true; }
void HideCursor() { screen.cursorVisible = false; }
void WriteChar(uint8_t character) { PutByte(character); }

void FlushConsole() {}
void FlushConsoleIfDue() {}

uint8_t ReadKeyByte() {
  FlushConsole();
  if (screen.keys.empty()) throw KeysExhausted{};
  uint8_t key = screen.keys.front();
  screen.keys.pop_front();
  return key;
}

MemoryConsole::MemoryConsole() { screen = Screen{}; }

std::string MemoryConsole::Text(int column, int row, int length) const {
  std::string text;
  for (int c = column; c < column + length && c <= ScreenColumns; ++c)
    text.push_back(static_cast<char>(At(c, row).character));
  return text;
}

std::string MemoryConsole::Row(int row) const { return Text(1, row, ScreenColumns); }

std::string MemoryConsole::TrimmedRow(int row) const {
  std::string text = Row(row);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

int MemoryConsole::Colour(int column, int row) const { return At(column, row).attribute & 0x0F; }

std::string MemoryConsole::TextDump() const {
  std::string dump;
  for (int row = 1; row <= ScreenRows; ++row) dump += TrimmedRow(row) + "\n";
  return dump;
}

std::string MemoryConsole::ColourDump() const {
  std::string dump;
  for (int row = 1; row <= ScreenRows; ++row) {
    for (int column = 1; column <= ScreenColumns; ++column)
      dump.push_back("0123456789ABCDEF"[Colour(column, row)]);
    dump.push_back('\n');
  }
  return dump;
}

int MemoryConsole::CursorColumn() const { return screen.column; }
int MemoryConsole::CursorRow() const { return screen.row; }
bool MemoryConsole::CursorVisible() const { return screen.cursorVisible; }

void MemoryConsole::Keys(std::string_view bytes) {
  for (char c : bytes) screen.keys.push_back(static_cast<uint8_t>(c));
}
size_t MemoryConsole::KeysLeft() const { return screen.keys.size(); }

const std::string& MemoryConsole::Written() const { return screen.written; }
std::set<int> MemoryConsole::RowsWritten() const { return screen.rowsWritten; }
void MemoryConsole::ForgetWrites() {
  screen.written.clear();
  screen.rowsWritten.clear();
}
int MemoryConsole::Bells() const { return screen.bells; }
int MemoryConsole::MovesOutside() const { return screen.movesOutside; }
int MemoryConsole::Scrolls() const { return screen.scrolls; }
const std::string& MemoryConsole::RuntimeErrorLine() const { return screen.runtimeErrorLine; }
