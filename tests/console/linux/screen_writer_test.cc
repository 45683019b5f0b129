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
  void Put(int column, int row, char c, uint8_t colour = LightGrey) {
    CellAt(grid, column, row) = Cell{uint8_t(c), colour};
  }
  void Line(int row, const std::string& text) {  // the row's text, blanks after it
    for (int column = 1; column <= ScreenColumns; ++column)
      Put(column, row, column <= int(text.size()) ? text[column - 1] : ' ');
  }
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

// Unchanged cells are written again between changes up to three apart, a move is cheaper past
// that; more than three blanks to the row's end are erased, not written.
TEST(ScreenWriter, RunsOfChangesAndBlanksToTheEnd) {
  Written screen;
  screen.Line(3, "abcdefghijklmnop");
  screen.Line(4, "ABCDEFGH");
  screen.Line(5, "ABCDEFG");
  screen.Flush();
  screen.Put(2, 3, 'X');
  screen.Put(6, 3, 'Y');   // three unchanged between: written again
  screen.Put(11, 3, 'Z');  // four: a move
  screen.Line(4, "ABCD");  // four blanks to the end: erased
  screen.Line(5, "ABCD");  // three: written
  MoveGridCursor(screen.grid, 1, 1);
  EXPECT_EQ(screen.Flush(), "\x1b[3;2HXcdeY\x1b[11GZ\x1b[4;5H\x1b[K\x1b[5;5H   \x1b[H");
}

// Where colours alternate the cells go in two layers; what follows on the row starts from where
// and in what colour the second layer left the terminal.
TEST(ScreenWriter, AfterTwoLayersTheRowGoesOn) {
  Written screen;
  screen.Line(6, "");
  screen.Flush();
  for (int column = 1; column <= 9; ++column)
    screen.Put(column, 6, char('A' + column - 1), column % 2 ? LightGrey : Yellow);
  screen.Put(20, 6, 'Z', Yellow);
  MoveGridCursor(screen.grid, 21, 6);
  EXPECT_EQ(screen.Flush(), "\x1b[6;1HABCDEFGHI\x1b[2G\x1b[1;33mB\x1b[CD\x1b[CF\x1b[CH\x1b[20GZ");
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
