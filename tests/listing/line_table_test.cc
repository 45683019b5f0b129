#include "listing/line_table.h"

#include <gtest/gtest.h>

#include <string>

#include "console/console.h"
#include "console/memory/memory_console.h"

namespace {

struct TableFixture : testing::Test {
  MemoryConsole screen;
  LineTable table;
  ~TableFixture() override { FreeLineTable(MaxLines, table); }
};

using AddLineTest = TableFixture;

TEST_F(AddLineTest, StoresTheFirstSixtyCharactersAndFlickersInPlace) {
  LoadBudget budget{1000, 1};
  MoveCursor(5, 7);
  SetTextColor(LightCyan);
  EXPECT_FALSE(AddLine(table, 1, "1 00112233445566778899 765", budget));
  EXPECT_EQ(LineText(table, 1), "1 00112233445566778899 765");
  EXPECT_EQ(budget.freeBytes, 1000 - 61);
  const std::string longText(70, 'X');
  EXPECT_FALSE(AddLine(table, 2, longText, budget));
  EXPECT_EQ(LineText(table, 2), std::string(60, 'X'));
  // Each store writes one of < = > and a backspace at the cursor, in the current colour.
  ASSERT_EQ(screen.Written().size(), 4u);
  EXPECT_NE(std::string("<=>").find(screen.Written()[2]), std::string::npos);
  EXPECT_EQ(screen.Written()[3], '\b');
  EXPECT_EQ(screen.CursorColumn(), 5);
  EXPECT_EQ(screen.CursorRow(), 7);
  EXPECT_EQ(screen.Colour(5, 7), LightCyan);
}

TEST_F(AddLineTest, FramesComeWithEqualChances) {
  LoadBudget budget{1 << 30, 12345};
  int seen[3] = {};
  for (int16_t index = 1; index <= 3000; ++index) {
    ASSERT_FALSE(AddLine(table, index, "x", budget));
    ++seen[screen.Written()[2 * (index - 1)] - '<'];
  }
  for (int count : seen) EXPECT_NEAR(count, 1000, 150);
}

TEST_F(AddLineTest, RefusesPastTheTableOrBelowOneBlockOfMemory) {
  LoadBudget budget{61, 1};
  EXPECT_TRUE(AddLine(table, 5001, "5001", budget));
  EXPECT_TRUE(AddLine(table, 0, "0", budget));
  EXPECT_EQ(budget.freeBytes, 61);
  EXPECT_EQ(screen.Written(), "");
  EXPECT_FALSE(AddLine(table, 5000, "5000", budget));
  EXPECT_EQ(LineText(table, 5000), "5000");
  EXPECT_EQ(budget.freeBytes, 0);
  EXPECT_TRUE(AddLine(table, 4999, "4999", budget));
  EXPECT_EQ(LineText(table, 4999), "");
  EXPECT_EQ(screen.Written().size(), 2u);
}

using LineTableTest = TableFixture;

TEST_F(LineTableTest, EditsRewriteTheBlockAndFreeingEmptiesTheEntries) {
  LoadBudget budget{1000, 1};
  ASSERT_FALSE(AddLine(table, 1, "1 AB 9", budget));
  ASSERT_FALSE(AddLine(table, 2, "2 CD 9", budget));
  SetLineText(table, 1, std::string(61, 'E'));
  EXPECT_EQ(LineText(table, 1), std::string(60, 'E'));
  SetLineText(table, 1, "");
  EXPECT_EQ(LineText(table, 1), "");
  FreeLineTable(1, table);
  EXPECT_EQ(table.lines[0], nullptr);
  EXPECT_NE(table.lines[1], nullptr);
  FreeLineTable(0, table);
  FreeLineTable(-1, table);
  EXPECT_NE(table.lines[1], nullptr);
}

}  // namespace
