// The console rules every binding keeps, checked on the in-memory one.
#include <gtest/gtest.h>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "platform/platform.h"

namespace {

TEST(ConsoleRules, MovesOutsideTheScreenAreIgnored) {
  MemoryConsole screen;
  MoveCursor(5, 7);
  for (auto [column, row] : {std::pair{81, 7}, {0, 7}, {5, 0}, {5, 26}, {-3, -3}}) {
    MoveCursor(column, row);
    EXPECT_EQ(screen.CursorColumn(), 5);
    EXPECT_EQ(screen.CursorRow(), 7);
  }
  MoveCursor(80, 25);
  EXPECT_EQ(screen.CursorColumn(), 80);
  EXPECT_EQ(screen.CursorRow(), 25);
  EXPECT_EQ(screen.MovesOutside(), 5);  // recorded, so a test can refuse them
}

TEST(ConsoleRules, BackspaceMovesLeftWithoutErasingAndStopsAtColumnOne) {
  MemoryConsole screen;
  MoveCursor(1, 3);
  WriteText("ab");
  WriteChar(8);
  EXPECT_EQ(screen.CursorColumn(), 2);
  EXPECT_EQ(screen.Text(1, 3, 2), "ab");
  WriteChar(8);
  WriteChar(8);
  EXPECT_EQ(screen.CursorColumn(), 1);
  WriteChar('c');
  EXPECT_EQ(screen.Text(1, 3, 2), "cb");
}

TEST(ConsoleRules, FieldWidthRightAlignsOnlyWhenWider) {
  MemoryConsole screen;
  MoveCursor(1, 1);
  WriteText("abc", 6);
  MoveCursor(1, 2);
  WriteText("abc", 2);
  MoveCursor(1, 3);
  WriteText("abc");
  MoveCursor(1, 4);
  WriteNumber(-42);
  EXPECT_EQ(screen.TrimmedRow(1), "   abc");
  EXPECT_EQ(screen.TrimmedRow(2), "abc");
  EXPECT_EQ(screen.TrimmedRow(3), "abc");
  EXPECT_EQ(screen.TrimmedRow(4), "-42");
}

TEST(ConsoleRules, LineFeedOnTheBottomRowScrollsTheScreenUp) {
  MemoryConsole screen;
  MoveCursor(1, 1);
  WriteText("top");
  MoveCursor(1, 25);
  WriteText("bottom");
  EXPECT_EQ(screen.Scrolls(), 0);
  WriteLine();
  EXPECT_EQ(screen.Scrolls(), 1);
  EXPECT_EQ(screen.CursorRow(), 25);
  EXPECT_EQ(screen.CursorColumn(), 1);
  EXPECT_EQ(screen.TrimmedRow(24), "bottom");
  EXPECT_EQ(screen.TrimmedRow(25), "");
  EXPECT_EQ(screen.TrimmedRow(1), "");
}

TEST(ConsoleRules, AFullRowThenLineEndLeavesABlankRowOnlyWhereTheLastColumnMovesOn) {
  MemoryConsole screen;
  MoveCursor(1, 3);
  WriteLine(std::string(80, '-'));
  WriteText("next");
  const int nextRow = LastColumnMovesCursorOn() ? 5 : 4;
  EXPECT_EQ(screen.TrimmedRow(nextRow), "next");
}

TEST(ConsoleRules, ClearToEndOfLineBlanksInTheCurrentColourWithoutMoving) {
  MemoryConsole screen;
  MoveCursor(1, 17);
  WriteText(std::string(80, 'x'));
  SetTextColor(Yellow);
  MoveCursor(20, 17);
  ClearToEndOfLine();
  EXPECT_EQ(screen.TrimmedRow(17), std::string(19, 'x'));
  EXPECT_EQ(screen.Attribute(50, 17), Yellow);  // black background
  EXPECT_EQ(screen.CursorColumn(), 20);
}

TEST(DataText, ControlBytesShowAsQuestionMarksAndTheRestUnchanged) {
  MemoryConsole screen;
  MoveCursor(1, 1);
  std::string text;
  for (int byte = 0; byte < 32; ++byte) text.push_back(static_cast<char>(byte));
  text +=
      "\x7f"
      "A~ \xa6\xff\x80";
  WriteDataText(text);
  EXPECT_EQ(screen.Text(1, 1, 33), std::string(33, '?'));
  EXPECT_EQ(screen.Text(34, 1, 6), "A~ \xa6\xff\x80");
  EXPECT_EQ(screen.CursorRow(), 1);
  EXPECT_EQ(screen.Bells(), 0);
  EXPECT_EQ(screen.Written().find_first_of(std::string("\x07\x08\x0a\x0d\x1b", 5)),
            std::string::npos);
}

}  // namespace
