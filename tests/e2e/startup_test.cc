// The built program's ends before the editor, in a real terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "e2e/terminal.h"

namespace {

const std::string Protected =
    "\" esta protegido contra escritura o se encuentra en un dispositivo de solo-lectura.";
// No file system takes a 300-character name: it runs through directories.
const std::string LongFolder =
    std::string(120, 'a') + "/" + std::string(120, 'b') + "/" + std::string(58, 'd');

struct StartEnd {
  std::string name;
  ProgramOptions options;
  std::string error;  // empty: the help alone, status 0
};

class StartupEnd : public ::testing::TestWithParam<StartEnd> {};

TEST_P(StartupEnd, ShowsBannerErrorAndHelpInColourWithItsStatus) {
  const std::string& error = GetParam().error;
  TempDir dir;
  for (const std::string& folder : {LongFolder, std::string("carpeta.txt")})
    std::filesystem::create_directories(dir.path / folder);
  ASSERT_EQ(mkfifo((dir / "tuberia.txt").c_str(), 0666), 0);
  for (auto [name, mode] : {std::pair{"solo.txt", 0444}, {"oculto.txt", 0200}}) {
    WriteBytes(dir / name, "1 00000000000000000000 0\n");
    ASSERT_EQ(chmod((dir / name).c_str(), mode), 0);
  }
  ProgramOptions options = GetParam().options;
  options.directory = dir.path;
  Terminal term(options);
  if (!term.StartError().empty() && options.unprivileged) GTEST_SKIP() << term.StartError();
  ASSERT_TRUE(term.WaitForExit()) << term.StartError() << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(1), "               GRAVIX v0.5a");
  EXPECT_EQ(term.Colour(16, 1), 12);
  EXPECT_EQ(term.TrimmedRow(3), std::string(80, '-'));
  int helpRow = 4;
  if (!error.empty()) {
    std::string shown;
    for (int row = 4; row <= 7; ++row) shown += term.Text(1, row, 80);
    EXPECT_EQ(shown.substr(0, error.size() + 1), error + " ");
    EXPECT_EQ(term.Colour(3, 4), 14);
    helpRow = 6 + static_cast<int>(error.size() - 1) / 80;  // after the bell's empty line
  }
  EXPECT_EQ(term.TrimmedRow(helpRow),
            "GRAVIX es un programa para convertir programas del formato de codigo maquina");
  EXPECT_EQ(term.TrimmedRow(helpRow + 5),
            " donde  fichero = Archivo de texto con el codigo a compilar");
  EXPECT_EQ(term.Colour(59, helpRow + 5), 15);
  EXPECT_EQ(std::pair(term.CursorRow(), term.CursorColumn()), std::pair(helpRow + 6, 1));
  EXPECT_TRUE(term.CursorVisible());
  EXPECT_EQ(term.RawOutput().find('\a') != std::string::npos, !error.empty());
  // Only a smaller terminal is asked to grow.
  EXPECT_EQ(term.RawOutput().find("\x1b[8;25;80t") != std::string::npos, options.rows < 25);
  EXPECT_EQ(term.ExitCode(), error.empty() ? 0 : 1);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Runs, StartupEnd, ::testing::Values(
    StartEnd{"Help", {}, ""},
    StartEnd{"TwoNames", {.arguments = {"a.txt", "b.txt"}}, "  ERROR: Demasiados parametros."},
    StartEnd{"Missing", {.arguments = {"falta.txt"}},
             "  ERROR: El fichero \"falta.txt\" no existe."},
    StartEnd{"Folder", {.arguments = {"carpeta.txt"}},
             "  ERROR: El fichero \"carpeta.txt" + Protected},
    // Opening a FIFO would wait for a writer forever.
    StartEnd{"Fifo", {.arguments = {"tuberia.txt"}},
             "  ERROR: El fichero \"tuberia.txt" + Protected},
    // Root ignores the permission bits.
    StartEnd{"ReadOnly", {.arguments = {"solo.txt"}, .unprivileged = true},
             "  ERROR: El fichero \"solo.txt" + Protected},
    StartEnd{"Unreadable", {.arguments = {"oculto.txt"}, .unprivileged = true},
             "  ERROR: El fichero \"oculto.txt\" no se puede leer."},
    // Shown cut, used whole: the cut name would be another file.
    StartEnd{"LongName", {.arguments = {LongFolder}},
             ("  ERROR: El fichero \"" + LongFolder).substr(0, 255)},
    StartEnd{"AfterDoubleDash", {.arguments = {"--", "-falta.txt"}},
             "  ERROR: El fichero \"-falta.txt\" no existe."},
    StartEnd{"NewOverAFile", {.arguments = {"--new", "solo.txt"}},
             "  ERROR: El fichero \"solo.txt\" ya existe."},
    StartEnd{"NewInNoFolder", {.arguments = {"--new", "falta/nuevo.txt"}},
             "  ERROR: El fichero \"falta/nuevo.txt\" no se puede crear."},
    StartEnd{"SmallWindow", {.arguments = {"solo.txt"}, .rows = 24},
             "  ERROR: La ventana del terminal es menor de 80x25 caracteres."}),
    [](const auto& info) { return info.param.name; });
// clang-format on

}  // namespace
