// The screen as every binding keeps it: the cursor stays on the 80x25 screen, control bytes
// move it or show as "?", and the last column waits or moves on as the platform's terminal does.
#include "console/cell_grid.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string RowText(const CellGrid& grid, int row) {
  std::string text;
  for (const Cell& cell : grid.cells[row - 1]) text.push_back(static_cast<char>(cell.character));
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

TEST(CellGrid, TheCursorStaysOnTheScreen) {
  CellGrid grid;
  EXPECT_TRUE(MoveGridCursor(grid, 80, 25));
  EXPECT_TRUE(MoveGridCursor(grid, 1, 1));
  for (const auto& [column, row] : {std::pair{0, 1}, {81, 1}, {1, 0}, {1, 26}})
    EXPECT_FALSE(MoveGridCursor(grid, column, row)) << column << "," << row;
  EXPECT_EQ(std::pair(grid.column, grid.row), std::pair(1, 1));
}

TEST(CellGrid, ControlBytesMoveTheCursorOrShowAsQuestionMarks) {
  CellGrid grid;
  MoveGridCursor(grid, 5, 3);
  EXPECT_EQ(PutGridByte(grid, 'A'), 3);
  EXPECT_EQ(PutGridByte(grid, 'B'), 3);
  EXPECT_EQ(PutGridByte(grid, 8), 0);
  EXPECT_EQ(PutGridByte(grid, 7), 0);
  EXPECT_EQ(PutGridByte(grid, '\x1b'), 3);
  EXPECT_EQ(PutGridByte(grid, '\r'), 0);
  EXPECT_EQ(PutGridByte(grid, '\n'), 0);
  EXPECT_EQ(RowText(grid, 3), "    A?");  // the back space put the escape over B; the bell nothing
  EXPECT_EQ(std::pair(grid.column, grid.row), std::pair(1, 4));
}

// After the 80th column a terminal waits for the next character to wrap; the Windows console
// moves on at once.
TEST(CellGrid, TheLastColumn) {
  for (const bool movesOn : {false, true}) {
    CellGrid grid;
    grid.lastColumnMovesOn = movesOn;
    MoveGridCursor(grid, 80, 24);
    EXPECT_EQ(PutGridByte(grid, 'x'), 24);
    EXPECT_EQ(std::pair(grid.column, grid.row), movesOn ? std::pair(1, 25) : std::pair(80, 24));
    EXPECT_EQ(PutGridByte(grid, 'y'), 25);
    EXPECT_EQ(RowText(grid, 25), "y");
    EXPECT_EQ(grid.scrolls, 0);
  }
}

}  // namespace
