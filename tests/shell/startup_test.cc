#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "console/memory/memory_console.h"
#include "platform/platform.h"
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

// The first row below the banner: the Windows console moves on after the full-width rule.
int FirstFreeRow() { return LastColumnMovesCursorOn() ? 5 : 4; }

TEST(Startup, NoArgumentShowsBannerAndHelpInWhiteWithExitZero) {
  MemoryConsole screen;
  const int top = FirstFreeRow();
  EXPECT_EQ(RunToEnd({}), 0);
  EXPECT_EQ(screen.TrimmedRow(1), "               GRAVIX v0.5a");
  EXPECT_EQ(screen.Colour(16, 1), 12);
  EXPECT_EQ(screen.Text(1, 2, 10), std::string(10, ' '));
  EXPECT_EQ(screen.Colour(11, 2), 10);
  EXPECT_EQ(screen.Row(3), std::string(80, '-'));
  EXPECT_EQ(screen.Colour(80, 3), 9);
  EXPECT_EQ(screen.TrimmedRow(top),
            "GRAVIX es un programa para convertir programas del formato de codigo maquina");
  EXPECT_EQ(screen.Colour(1, top), 15);
  EXPECT_EQ(screen.TrimmedRow(top + 1), " de la revista Microhobby a un fichero de cinta que se pueda cargar en un");
  EXPECT_EQ(screen.TrimmedRow(top + 2), " emulador de Spectrum.");
  EXPECT_EQ(screen.TrimmedRow(top + 3), "");
  EXPECT_EQ(screen.TrimmedRow(top + 4), "Uso:     GRAVIX fichero");
  EXPECT_EQ(screen.TrimmedRow(top + 5), " donde  fichero = Archivo de texto con el codigo a compilar");
  EXPECT_EQ(screen.CursorRow(), top + 6);
  EXPECT_TRUE(screen.CursorVisible());
  EXPECT_EQ(screen.TextColour(), 7);
  EXPECT_EQ(screen.Bells(), 0);
}

TEST(Startup, TwoArgumentsAreAFatalErrorWithBellAndStatusOne) {
  MemoryConsole screen;
  const int top = FirstFreeRow();
  EXPECT_EQ(RunToEnd({"a", "b"}), 1);
  EXPECT_EQ(screen.TrimmedRow(top), "  ERROR: Demasiados parametros.");
  EXPECT_EQ(screen.Colour(3, top), 14);
  EXPECT_EQ(screen.TrimmedRow(top + 1), "");
  EXPECT_EQ(screen.Bells(), 1);
  EXPECT_EQ(screen.TrimmedRow(top + 2),
            "GRAVIX es un programa para convertir programas del formato de codigo maquina");
}

}  // namespace
