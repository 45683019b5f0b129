// The loader on a real terminal: its activity indicator flickers a frame per stored line, but
// a frame that the next one covers before the output is written never reaches the terminal.
#include <gtest/gtest.h>

#include <string>

#include "e2e/terminal.h"

namespace {

std::string ZeroLines(int first, int last) {
  std::string text;
  for (int line = first; line <= last; ++line)
    text += std::to_string(line) + " 00000000000000000000 0\n";
  return text;
}

TEST(LoaderOutput, IndicatorFramesCoveredBeforeAWriteAreNotSent) {
  ScratchDirectory dir;
  // Line 3000 is left out: the loader asks about it between two long runs of lines.
  WriteFileBytes(dir.Path() / "juego.txt", ZeroLines(1, 2999) + ZeroLines(3001, 5000));
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitForText(1, 8, "   La linea \"3000\" es una linea de ceros (S/N): "))
      << term.ScreenDump();
  // Two bytes a line would be 6000 bytes by now.
  EXPECT_LT(term.RawOutput().size(), 2000u);
  EXPECT_EQ(term.TrimmedRow(6), "  Numero de linea encontrado: \"3001\"");
  term.SendKeys("s");
  ASSERT_TRUE(
      term.WaitForText(1, 11, "Proceso del fichero de entrada finalizado. Pulsa una tecla."))
      << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(9), "    Insertando linea \"3000\" como linea de ceros");
  // The last frame stays where the cursor was: one of the three, alone on its row.
  const std::string frame = term.TrimmedRow(10);
  EXPECT_TRUE(frame == "<" || frame == "=" || frame == ">") << frame;
  EXPECT_LT(term.RawOutput().size(), 3000u);
  term.SendKeys(" ");
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]"));
  term.SendKeys("xs");
  ASSERT_TRUE(term.WaitForExit());
  EXPECT_EQ(term.ExitCode(), 0);
}

}  // namespace
