#include "console/cell_grid.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

void ScrollUp(CellGrid& grid) {
  ++grid.scrolls;
  std::memmove(grid.cells[0], grid.cells[1], sizeof(Cell) * ScreenColumns * (ScreenRows - 1));
  std::fill(std::begin(grid.cells[ScreenRows - 1]), std::end(grid.cells[ScreenRows - 1]),
            Cell{' ', grid.attribute});
}

void NextRow(CellGrid& grid) {
  grid.column = 1;
  if (grid.row == ScreenRows)
    ScrollUp(grid);
  else
    ++grid.row;
}

}  // namespace

void ClearGrid(CellGrid& grid) {
  for (auto& row : grid.cells) std::fill(std::begin(row), std::end(row), Cell{' ', grid.attribute});
  grid.column = grid.row = 1;
  grid.wrapPending = false;
}

void ClearGridToEndOfLine(CellGrid& grid) {
  std::fill(&CellAt(grid, grid.column, grid.row), std::end(grid.cells[grid.row - 1]),
            Cell{' ', grid.attribute});
}

bool MoveGridCursor(CellGrid& grid, int column, int row) {
  if (column < 1 || column > ScreenColumns || row < 1 || row > ScreenRows) return false;
  grid.column = column;
  grid.row = row;
  grid.wrapPending = false;
  return true;
}

int PutGridByte(CellGrid& grid, uint8_t byte) {
  switch (byte) {
    case 7:
      return 0;
    case 8:
      grid.wrapPending = false;
      grid.column = std::max(1, grid.column - 1);
      return 0;
    case 10:
      grid.wrapPending = false;
      NextRow(grid);
      return 0;
    case 13:
      grid.wrapPending = false;
      grid.column = 1;
      return 0;
  }
  byte = ShownByte(byte);
  if (grid.wrapPending) {
    grid.wrapPending = false;
    NextRow(grid);
  }
  const int row = grid.row;
  CellAt(grid, grid.column, row) = Cell{byte, grid.attribute};
  if (grid.column < ScreenColumns)
    ++grid.column;
  else if (grid.lastColumnMovesOn)
    NextRow(grid);
  else
    grid.wrapPending = true;
  return row;
}
