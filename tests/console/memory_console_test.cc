// The console rules every binding keeps, checked on the in-memory one.
#include <gtest/gtest.h>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "platform/platform.h"
TEST(ConsoleRules, CursorLineEndsClearingAndDataText) {
  MemoryConsole screen;
  MoveCursor(5, 7);
  for (auto [column, row] : {std::pair{81, 7}, {0, 7}, {5, 0}, {5, 26}}) MoveCursor(column, row);
  EXPECT_EQ(screen.CursorColumn() * 100 + screen.CursorRow(), 507);  // moves outside ignored
  MoveCursor(1, 3);
  WriteText("ab");
  for (int i = 0; i < 3; ++i) WriteChar(8);  // left without erasing, never past column 1
  WriteChar('c');
  WriteText("abc", 4);  // a field width wider than the text aligns it right
  EXPECT_EQ(screen.TrimmedRow(3), "c abc");
  MoveCursor(1, 17);
  WriteText(std::string(80, 'x'));
  SetTextColor(Yellow);
  MoveCursor(20, 17);
  ClearToEndOfLine();
  EXPECT_EQ(screen.TrimmedRow(17), std::string(19, 'x'));
  EXPECT_EQ(screen.Attribute(50, 17), Yellow);  // black background
  EXPECT_EQ(screen.CursorColumn(), 20);
  MoveCursor(1, 12);
  WriteDataText("\x1b[2J\x07\x7f" "A~ \xa6\xff\x80");  // control bytes and DEL as "?", the rest unchanged
  EXPECT_EQ(screen.Text(1, 12, 12), "?[2J??A~ \xa6\xff\x80");
  EXPECT_EQ(screen.CursorRow() * 100 + screen.Bells(), 1200);
  MoveCursor(1, 20);
  WriteLine(std::string(80, '-'));
  WriteText("next");  // Windows moves on after column 80: a blank row between
  EXPECT_EQ(screen.TrimmedRow(LastColumnMovesCursorOn() ? 22 : 21), "next");
  MoveCursor(1, 25);
  WriteText("bottom");
  WriteLine();  // scrolls the screen up
  EXPECT_EQ(screen.CursorColumn() * 100 + screen.CursorRow(), 125);
  EXPECT_EQ(screen.TrimmedRow(24) + screen.TrimmedRow(19), "bottom" + std::string(80, '-'));
}
