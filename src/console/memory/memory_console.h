#pragma once
// The in-memory console binding as tests see it: an 80x25 grid of character and attribute
// cells, the cursor, and a key script. Constructing a MemoryConsole starts a fresh screen.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

// Thrown by EndRun and EndWithIoError: the program ended with this status.
struct ProgramEnd {
  int status;
  bool runtimeError;
};

// Thrown by ReadKeyByte when the script has no key left, so a test never hangs.
struct KeysExhausted {};

// Navigation keys as the console delivers them.
inline const std::string HomeKey{'\0', 71}, UpKey{'\0', 72}, PageUpKey{'\0', 73}, LeftKey{'\0', 75},
    RightKey{'\0', 77}, EndKey{'\0', 79}, DownKey{'\0', 80}, PageDownKey{'\0', 81},
    InsertKey{'\0', 82}, DeleteKey{'\0', 83};

class MemoryConsole {
 public:
  MemoryConsole();

  // Screen contents, 1-based like the console.
  std::string Text(int column, int row, int length) const;
  std::string Row(int row) const;  // all 80 cells, trailing blanks included
  std::string TrimmedRow(int row) const;
  int Colour(int column, int row) const;  // foreground of the cell
  std::string TextDump() const;           // 25 rows, trailing blanks cut, one per line
  std::string ColourDump() const;         // 25 rows of hex digits, one per cell

  int CursorColumn() const;
  int CursorRow() const;
  bool CursorVisible() const;

  // Keys still to come; extended keys as two bytes (see UpKey and the others).
  void Keys(std::string_view bytes);
  size_t KeysLeft() const;

  // Every byte written since the last ForgetWrites, and the rows it touched.
  const std::string& Written() const;
  std::set<int> RowsWritten() const;
  void ForgetWrites();
  int Bells() const;

  // Writes that left the 80x25 screen: moves asked outside it (ignored) and scrolls (a write
  // past row 25). The editor's fixed screen must never do either.
  int MovesOutside() const;
  int Scrolls() const;

  // The line written by EndWithIoError, empty until then.
  const std::string& RuntimeErrorLine() const;
};
