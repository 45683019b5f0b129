#include "shell/command_line.h"

#include <gtest/gtest.h>

#include "console/memory/memory_console.h"

namespace {

TEST(RemoveExtension, OnlyTheLastExtensionOfTheFileNameGoes) {
  const std::pair<const char*, const char*> names[] = {
      {"prog.txt", "prog"},     {"a.b.c", "a.b"},           {"prog.", "prog"},
      {"prog", "prog"},         {"dir.x/prog", "dir.x/prog"}, {"dir.x\\prog", "dir.x\\prog"},
      {"./prog", "./prog"},     {".profile", ""},           {"dir.old/juego.txt", "dir.old/juego"},
  };
  for (auto [name, result] : names) EXPECT_EQ(RemoveExtension(name), result) << name;
}

TEST(GetInputFileName, ControlBytesInAMissingNameAreShownHarmlessly) {
  MemoryConsole screen;
  EXPECT_THROW(GetInputFileName({"\x1b]2;pwned\x07.txt"}), ProgramEnd);
  EXPECT_EQ(screen.TrimmedRow(1), "  ERROR: El fichero \"?]2;pwned?.txt\" no existe.");
  EXPECT_EQ(screen.Bells(), 1);  // only the error's own bell
}

}  // namespace
