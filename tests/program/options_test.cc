#include "program/options.h"

#include <gtest/gtest.h>

#include "console/memory/memory_console.h"
#include "program/command_line.h"

namespace {

// Each form, "--" before a name that looks like an option, and what makes a command line wrong.
TEST(CommandLine, FormsAndMisuses) {
  using Args = std::vector<std::string>;
  // clang-format off
  const struct { Args arguments; RunMode mode; Args files; std::string misuse; } cases[] = {
      {{"-"}, RunMode::Edit, {"-"}, ""}, {{"--", "-x.txt"}, RunMode::Edit, {"-x.txt"}, ""},
      {{"--check", "--", "--tap"}, RunMode::Check, {"--tap"}, ""},
      {{"--tap", "-A", "0", "1", "j.txt"}, RunMode::Tap, {"j.txt"}, ""},
      {{"-h"}, RunMode::Help, {}, ""}, {{"x.txt", "-h"}, RunMode::Misuse, {"x.txt"}, "--help no lleva nada mas"},
      {{"--version", "x"}, RunMode::Misuse, {"x"}, "--version no lleva nada mas"},
      {{"--new"}, RunMode::Misuse, {}, "falta el nombre del fichero"},
      {{"--tap", "A", "0", "j.txt"}, RunMode::Misuse, {}, "--tap necesita NOMBRE DUMP BYTES y el fichero"},
      {{"--check", "--new", "j.txt"}, RunMode::Misuse, {"j.txt"},
       "--new no se puede usar con --new, --check, --tap ni --scan"}};
  // clang-format on
  for (const auto& c : cases) {
    const CommandLine commandLine = ParseCommandLine(c.arguments);
    EXPECT_EQ(commandLine.mode, c.mode) << testing::PrintToString(c.arguments);
    EXPECT_EQ(commandLine.files, c.files) << testing::PrintToString(c.arguments);
    EXPECT_EQ(commandLine.misuse, c.misuse) << testing::PrintToString(c.arguments);
  }
  EXPECT_EQ(ParseCommandLine({"--tap", "-A", "0", "1", "j.txt"}).tapAnswers,
            (std::vector<std::string>{"-A", "0", "1"}));
}

TEST(CommandLine, AMissingNameIsShownHarmlessly) {
  MemoryConsole screen;
  const ListingName listing = GetInputFileName({"\x1b]2;pwned\x07.txt"}, ListingUse::Edit);
  ASSERT_TRUE(listing.end);
  EXPECT_EQ(listing.end->code, 1);
  EXPECT_EQ(screen.TrimmedRow(1), "  ERROR: El fichero \"?]2;pwned?.txt\" no existe.");
  EXPECT_EQ(screen.Bells(), 1);  // only the error's own bell
}

}  // namespace
