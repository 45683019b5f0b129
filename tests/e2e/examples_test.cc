// The example listings must be what their assembler sources say, so a user who types one in
// gets a routine that works: each loads without a question and compiles to the routine.
#include <gtest/gtest.h>

#include <cstdlib>

#include "e2e/terminal.h"

class Examples : public ::testing::TestWithParam<const char*> {};

TEST_P(Examples, ListingCompilesToTheAssembledRoutine) {
  const std::string source = std::string(GRAVIX_SOURCE_DIR) + "/examples/" + GetParam();
  ScratchDirectory dir;
  const std::string binary = (dir.Path() / "rutina.bin").string();
  ASSERT_EQ(std::system(("pasmo --bin '" + source + ".asm' '" + binary + "' >&2").c_str()), 0);
  const std::string routine = ReadFileBytes(binary);
  std::filesystem::copy(source + ".txt", dir.Path() / "juego.txt");
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  term.SendKeys("\rR\r32768\r" + std::to_string(routine.size()) + "\r");
  ASSERT_TRUE(term.WaitToShow("Pulsa una tecla.")) << term.ScreenDump();
  const std::string image = ReadFileBytes(dir.Path() / "juego.tap");
  ASSERT_EQ(image.size(), 25 + routine.size()) << term.ScreenDump();
  EXPECT_EQ(image.substr(24, routine.size()), routine);
}

INSTANTIATE_TEST_SUITE_P(Listings, Examples, ::testing::Values("borde", "rayas"));
