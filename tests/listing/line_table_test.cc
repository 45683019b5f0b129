#include "listing/line_table.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "console/memory/memory_console.h"

namespace {

static_assert(!std::is_copy_constructible_v<LineTable> && !std::is_copy_assignable_v<LineTable>,
              "a copy of the table would share its lines");

// Each block costs 61 bytes of the figure read at the start; the memory test comes before
// the index test, and a refused line leaves the table and the screen as they were.
TEST(LineTable, AddLineSpendsTheMemoryFigureAndStopsAtTheLimits) {
  MemoryConsole screen;
  LineTable table;
  LoadBudget budget{2 * LineBlockSize + 60, 7};
  EXPECT_FALSE(AddLine(table, 1, std::string(70, 'x'), budget));
  EXPECT_FALSE(AddLine(table, 5000, "5000 0 0", budget));
  EXPECT_EQ(budget.freeBytes, 60);
  const std::string written = screen.Written();
  EXPECT_TRUE(AddLine(table, 2, "2 0 0", budget));
  budget.freeBytes = 1000;
  EXPECT_TRUE(AddLine(table, 5001, "5001 0 0", budget));
  EXPECT_EQ(table.lines[1], nullptr);
  EXPECT_EQ(screen.Written(), written);
  EXPECT_EQ(LineText(table, 1), std::string(60, 'x'));
  EXPECT_EQ(LineText(table, 5000), "5000 0 0");
  FreeLineTable(table);
}

}  // namespace
