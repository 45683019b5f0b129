// In-memory console: the screen is a cell grid, keys come from a script. Behaves like the
// terminal of the platform it is built for (line end, the last-column rule).
#include "console/console.h"

#include <cerrno>
#include <deque>

#include "console/cell_grid.h"
#include "console/memory/memory_console.h"
#include "platform/platform.h"

namespace {

struct Screen {
  CellGrid grid;
  std::deque<uint8_t> keys;
  std::string written;
  std::set<int> rowsWritten;
  int bells = 0;
  int movesOutside = 0;
  std::optional<RunEnd> end;
};

Screen screen;

const Cell& At(int column, int row) { return CellAt(screen.grid, column, row); }

}  // namespace

bool HasTerminal() { return true; }
void InitConsole() {}
void ReleaseScreen() {}
std::string LocaleTextOnScreen(std::string_view text) { return std::string(text); }
bool EnsureConsoleSize() { return true; }

void ClearScreen() {
  ClearGrid(screen.grid);
  for (int row = 1; row <= ScreenRows; ++row) screen.rowsWritten.insert(row);
}

void ClearToEndOfLine() {
  screen.rowsWritten.insert(screen.grid.row);
  ClearGridToEndOfLine(screen.grid);
}

void MoveCursor(int column, int row) {
  if (!MoveGridCursor(screen.grid, column, row)) ++screen.movesOutside;
}

void SetTextColor(int colour) {
  screen.grid.attribute = static_cast<uint8_t>((screen.grid.attribute & 0xF0) | (colour & 0x0F));
}

void ShowCursor() { screen.grid.cursorVisible = true; }
void HideCursor() { screen.grid.cursorVisible = false; }

void WriteChar(uint8_t character) {
  screen.written.push_back(static_cast<char>(character));
  if (character == 7) ++screen.bells;
  if (const int row = PutGridByte(screen.grid, character); row > 0) screen.rowsWritten.insert(row);
}

void FlushConsole() {}
void FlushConsoleIfDue() {}

std::optional<uint8_t> ReadKeyByte() {
  FlushConsole();
  if (ConsoleEnd()) return std::nullopt;
  const uint8_t key = screen.keys.front();
  screen.keys.pop_front();
  return key;
}

// Scripted keys are all there at once: no wait ever runs out.
bool WaitForKey(int) { return true; }

void HoldEndSignals(bool) {}  // a test ends the run with MemoryConsole::End

// A script that has run out is a terminal whose input has ended, until a test adds keys.
std::optional<RunEnd> ConsoleEnd() {
  if (!screen.end && screen.keys.empty()) return RunEnd{RunEnd::IoError, EIO};
  return screen.end;
}

MemoryConsole::MemoryConsole() {
  screen = Screen{};
  screen.grid.lastColumnMovesOn = LastColumnMovesCursorOn();
}

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

int MemoryConsole::CursorColumn() const { return screen.grid.column; }
int MemoryConsole::CursorRow() const { return screen.grid.row; }
bool MemoryConsole::CursorVisible() const { return screen.grid.cursorVisible; }

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
int MemoryConsole::Scrolls() const { return screen.grid.scrolls; }
void MemoryConsole::End(RunEnd end) { screen.end = end; }
