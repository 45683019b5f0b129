#include "program/command_line.h"

#include <gtest/gtest.h>

#include "console/memory/memory_console.h"

TEST(CommandLine, AMissingNameIsShownHarmlessly) {
  MemoryConsole screen;
  EXPECT_THROW(GetInputFileName({"\x1b]2;pwned\x07.txt"}), ProgramEnd);
  EXPECT_EQ(screen.TrimmedRow(1), "  ERROR: El fichero \"?]2;pwned?.txt\" no existe.");
  EXPECT_EQ(screen.Bells(), 1);  // only the error's own bell
}
