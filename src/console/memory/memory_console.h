#pragma once
// The in-memory console binding as tests see it: an 80x25 grid of character and attribute
// cells, the cursor, and a key script. Constructing a MemoryConsole starts a fresh screen. When
// the script runs out, input has ended, as when a terminal closes: no key comes any more.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "console/console.h"

// Navigation keys as the console delivers them.
inline std::string Extended(ScanCode code) { return {'\0', static_cast<char>(code)}; }
inline const std::string HomeKey = Extended(HomeScan), UpKey = Extended(UpScan),
                         PageUpKey = Extended(PageUpScan), LeftKey = Extended(LeftScan),
                         RightKey = Extended(RightScan), EndKey = Extended(EndScan),
                         DownKey = Extended(DownScan), PageDownKey = Extended(PageDownScan),
                         InsertKey = Extended(InsertScan), DeleteKey = Extended(DeleteScan);

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

  // From now on no key comes, and the console ends the run this way (an end signal, say).
  void End(RunEnd end);
};
