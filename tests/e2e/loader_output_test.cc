// The loader's activity indicator changes frame for every stored line, but a frame the next
// one covers before the output is written never reaches the terminal.
#include <gtest/gtest.h>

#include "e2e/terminal.h"

TEST(LoaderOutput, IndicatorFramesCoveredBeforeAWriteAreNotSent) {
  ScratchDirectory dir;
  std::string listing;
  for (int line = 1; line <= 2999; ++line)
    listing += std::to_string(line) + " 00000000000000000000 0\n";
  WriteFileBytes(dir.Path() / "juego.txt", listing + "3001 0000 0\n");  // 3000 missing
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitForText(1, 8, "   La linea \"3000\" es una linea de ceros (S/N): "))
      << term.ScreenDump();
  EXPECT_LT(term.RawOutput().size(), 2000u);  // two bytes a line would be 6000 by now
}
