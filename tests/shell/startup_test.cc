#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "console/memory/memory_console.h"
#include "shell/command_line.h"
#include "shell/program.h"

namespace {

int RunToEnd(const std::vector<std::string>& arguments) {
  try {
    RunGravix(arguments);
  } catch (const ProgramEnd& end) {
    return end.status;
  }
  return -1;
}

TEST(Startup, NoArgumentShowsBannerAndHelpInWhiteWithExitZero) {
  MemoryConsole screen;
  EXPECT_EQ(RunToEnd({}), 0);
  EXPECT_EQ(screen.TrimmedRow(1), "               GRAVIX v0.5a");
  EXPECT_EQ(screen.Colour(16, 1), 12);
  EXPECT_EQ(screen.Text(1, 2, 10), std::string(10, ' '));
  EXPECT_EQ(screen.Colour(11, 2), 10);
  EXPECT_EQ(screen.Row(3), std::string(80, '-'));
  EXPECT_EQ(screen.Colour(80, 3), 9);
  EXPECT_EQ(screen.TrimmedRow(4),
            "GRAVIX es un programa para convertir programas del formato de codigo maquina");
  EXPECT_EQ(screen.Colour(1, 4), 15);
  EXPECT_EQ(screen.TrimmedRow(5), " de la revista Microhobby a un fichero de cinta que se pueda cargar en un");
  EXPECT_EQ(screen.TrimmedRow(6), " emulador de Spectrum.");
  EXPECT_EQ(screen.TrimmedRow(7), "");
  EXPECT_EQ(screen.TrimmedRow(8), "Uso:     GRAVIX fichero");
  EXPECT_EQ(screen.TrimmedRow(9), " donde  fichero = Archivo de texto con el codigo a compilar");
  EXPECT_EQ(screen.CursorRow(), 10);
  EXPECT_TRUE(screen.CursorVisible());
  EXPECT_EQ(screen.TextColour(), 7);
  EXPECT_EQ(screen.Bells(), 0);
}

TEST(Startup, TwoArgumentsAreAFatalErrorWithBellAndStatusOne) {
  MemoryConsole screen;
  EXPECT_EQ(RunToEnd({"a", "b"}), 1);
  EXPECT_EQ(screen.TrimmedRow(4), "  ERROR: Demasiados parametros.");
  EXPECT_EQ(screen.Colour(3, 4), 14);
  EXPECT_EQ(screen.TrimmedRow(5), "");
  EXPECT_EQ(screen.Bells(), 1);
  EXPECT_EQ(screen.TrimmedRow(6),
            "GRAVIX es un programa para convertir programas del formato de codigo maquina");
}

}  // namespace
