#pragma once
// The 80x25 screen as cells: what each binding has drawn, kept by the same rules everywhere
// (line feed, back space, the last column, scrolling), so a screen can be drawn again from it.

#include <cstdint>

#include "console/console.h"

struct Cell {
  uint8_t character = ' ';
  uint8_t attribute = LightGrey;
  bool operator==(const Cell&) const = default;
};

struct CellGrid {
  Cell cells[ScreenRows][ScreenColumns];
  int column = 1;  // the cursor, 1-based
  int row = 1;
  bool wrapPending = false;        // the last column was written; the next character wraps
  bool lastColumnMovesOn = false;  // the Windows console's rule: no pending wrap
  bool cursorVisible = true;
  uint8_t attribute = LightGrey;
  int scrolls = 0;  // rows scrolled off the top so far
};

inline Cell& CellAt(CellGrid& grid, int column, int row) { return grid.cells[row - 1][column - 1]; }

void ClearGrid(CellGrid& grid);
void ClearGridToEndOfLine(CellGrid& grid);
bool MoveGridCursor(CellGrid& grid, int column, int row);  // false outside the screen
// 8, 10 and 13 move the cursor; 7 leaves the grid as it is; other control bytes become "?".
// Returns the row of the cell written, 0 when none.
int PutGridByte(CellGrid& grid, uint8_t byte);
