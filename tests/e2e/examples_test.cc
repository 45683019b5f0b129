// The example listings must be what their assembler sources say, so a user who types one in
// gets a routine that works: each loads without a question, and the dialogue and --tap both
// write the routine pasmo assembles.
#include <gtest/gtest.h>

#include <cstdlib>

#include "e2e/terminal.h"

class Examples : public ::testing::TestWithParam<const char*> {};

TEST_P(Examples, ListingCompilesToTheAssembledRoutine) {
  const std::string source = std::string(GRAVIX_SOURCE_DIR) + "/examples/" + GetParam();
  TempDir dialogue, script;
  const std::string binary = dialogue / "rutina.bin";
  ASSERT_EQ(std::system(("pasmo --bin '" + source + ".asm' '" + binary + "' >&2").c_str()), 0);
  const std::string routine = ReadBytes(binary), count = std::to_string(routine.size());
  for (const TempDir* dir : {&dialogue, &script})
    std::filesystem::copy(source + ".txt", dir->path / "juego.txt");
  Terminal term({.arguments = {"juego.txt"}, .directory = dialogue.path});
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  term.SendKeys("\rRUTINA\r32768\r" + count + "\r");
  ASSERT_TRUE(term.WaitToShow("Pulsa una tecla.")) << term.ScreenDump();
  const std::string image = ReadBytes(dialogue / "juego.tap");
  ASSERT_EQ(image.size(), 25 + routine.size()) << term.ScreenDump();
  EXPECT_EQ(image.substr(24, routine.size()), routine);
  // --tap: the same image through the same name rule, the summary, no backup.
  const PlainRun run =
      RunPlain({GRAVIX_PROGRAM, "--tap", "RUTINA", "32768", count, "juego.txt"}, script.path);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.output,
            "Archivo: juego.tap\nPrograma: \"RUTINA    \"   #   Dump: 32768   #   "
            "Bytes: " +
                count + "\n");
  EXPECT_EQ(ReadBytes(script / "juego.tap"), image);
  EXPECT_EQ(ReadBytes(script / "juego.txt"), ReadBytes(source + ".txt"));
  EXPECT_FALSE(std::filesystem::exists(script / "juego.bak"));
}

INSTANTIATE_TEST_SUITE_P(Listings, Examples, ::testing::Values("borde", "rayas"),
                         [](const auto& info) { return std::string(info.param); });
