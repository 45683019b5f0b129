#include "listing/line_table.h"

#include <gtest/gtest.h>

#include <string>

#include "console/console.h"
#include "console/memory/memory_console.h"

namespace {

TEST(AddLine, StoresSixtyCharactersFlickeringInPlaceUntilTableOrMemoryRunOut) {
  MemoryConsole screen;
  LineTable table;
  LoadBudget budget{1 << 30, 12345};
  MoveCursor(5, 7);
  SetTextColor(LightCyan);
  int seen[3] = {};
  for (int16_t index = 1; index <= 3000; ++index) {
    ASSERT_FALSE(AddLine(table, index, std::string(70, 'X'), budget));
    ASSERT_EQ(screen.Written()[2 * index - 1], '\b');  // after one of < = >, equally often
    ++seen[screen.Written()[2 * index - 2] - '<'];
  }
  for (int count : seen) EXPECT_NEAR(count, 1000, 150);
  EXPECT_EQ(LineText(table, 3000), std::string(60, 'X'));
  EXPECT_EQ(budget.freeBytes, (1 << 30) - 3000 * 61);
  EXPECT_EQ(screen.CursorColumn() * 100 + screen.CursorRow(), 507);
  EXPECT_EQ(screen.Colour(5, 7), LightCyan);
  screen.ForgetWrites();
  budget.freeBytes = 61;
  EXPECT_TRUE(AddLine(table, 5001, "5001", budget) && AddLine(table, 0, "0", budget));
  EXPECT_FALSE(AddLine(table, 5000, "5000", budget));
  EXPECT_EQ(LineText(table, 5000), "5000");
  EXPECT_TRUE(AddLine(table, 4999, "4999", budget));  // 0 bytes left
  EXPECT_EQ(table.lines[4998], nullptr);
  EXPECT_EQ(screen.Written().size(), 2u);  // one frame: the refused lines flicker nothing
  FreeLineTable(MaxLines, table);
}

}  // namespace
