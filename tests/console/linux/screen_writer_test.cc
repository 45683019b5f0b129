// The bytes the terminal gets for what changed: a cell written where the terminal's cursor
// stands, the shortest move, and never a move that trusts a cursor left after the last column.
#include "console/linux/screen_writer.h"

#include <gtest/gtest.h>

namespace {

struct Written {
  CellGrid grid;
  TerminalView view;
  UpperHalfTexts upperHalf;
  Written() {  // the terminal shows a blank grey screen, its cursor home
    view.attribute = LightGrey;
    view.column = view.row = 1;
    view.cursorVisible = 1;
  }
  std::string Flush() {
    std::string output;
    WriteChanges(grid, view, ScreenColumns, ScreenRows, upperHalf, output);
    return output;
  }
  void Put(int column, int row, char c) { CellAt(grid, column, row) = Cell{uint8_t(c), LightGrey}; }
};

TEST(ScreenWriter, MovesAreTheShortestTheTerminalObeys) {
  Written screen;
  screen.Put(10, 5, 'A');
  MoveGridCursor(screen.grid, 12, 5);
  EXPECT_EQ(screen.Flush(), "\x1b[5;10HA\x1b[C");  // one cell right of the cell written
  screen.Put(9, 5, 'B');
  MoveGridCursor(screen.grid, 9, 5);
  EXPECT_EQ(screen.Flush(), "\x1b[9GB\b");  // back to the cell written
  // After the last column terminals differ in where the cursor waits: it is placed anew.
  screen.Put(80, 7, 'C');
  MoveGridCursor(screen.grid, 80, 7);
  EXPECT_EQ(screen.Flush(), "\x1b[7;80HC\x1b[7;80H");
  EXPECT_EQ(screen.Flush(), "");  // nothing changed, nothing sent
}

// A line feed on the bottom row: the terminal's rows move up with the program's, and the new
// bottom row is written again whatever it holds.
TEST(ScreenWriter, AScrollMovesWhatTheTerminalShows) {
  Written screen;
  screen.Put(1, 25, 'Z');
  screen.Flush();
  std::string output;
  WriteScroll(screen.view, output);
  EXPECT_EQ(output, "\x1b[25;1H\n");
  EXPECT_EQ(screen.view.cells[23][0].character, 'Z');
  EXPECT_EQ(screen.view.cells[24][0], (Cell{0, 0}));
}

}  // namespace
