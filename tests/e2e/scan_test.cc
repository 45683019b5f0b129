// gravix --scan as a script runs it: two clean pages the project draws itself (a heading on the
// first, the second in groups of two digits) read into exactly the listing they were drawn from;
// and the refusals, which write nothing.
#include <gtest/gtest.h>

#include "e2e/terminal.h"

namespace {

using std::string;

const string Pages = GRAVIX_SCAN_PAGES;  // empty where this build cannot scan

TEST(Scan, TwoCleanPagesGiveTheirListing) {
  if (Pages.empty()) GTEST_SKIP() << "built without Tesseract: --scan is not available";
  TempDir dir;
  const PlainRun run = RunPlain(
      {GRAVIX_PROGRAM, "--scan", Pages + "/test-1.png", Pages + "/test-2.png", "juego.txt"},
      dir.path);
  EXPECT_EQ(std::tie(run.status, run.output, run.errors),
            std::tuple(0, string("Leidas 24 lineas de 2 paginas: 24 correctas, 0 por revisar.\n"),
                       string()));
  EXPECT_EQ(ReadBytes(dir / "juego.txt"), ReadBytes(Pages + "/test.txt"));
  EXPECT_EQ(Files(dir.path), std::set<string>{"juego.txt"});
}

TEST(Scan, RefusalsWriteNothing) {
  if (Pages.empty()) GTEST_SKIP() << "built without Tesseract: --scan is not available";
  // clang-format off
  const struct { std::vector<string> arguments; int status; string errors; } refusals[] = {
      {{"pagina.png", "juego.txt"}, 1, "ERROR: El fichero \"juego.txt\" ya existe.\n"},
      {{"roto.png", "nuevo.txt"}, 1, "ERROR: La imagen \"roto.png\" no se puede leer.\n"},
      {{"falta.png", "nuevo.txt"}, 1, "ERROR: La imagen \"falta.png\" no se puede leer.\n"},
      {{"nuevo.txt"}, 2, "gravix: --scan necesita al menos una imagen y el fichero\n"
                         "Uso: gravix --help\n"}};
  // clang-format on
  for (const auto& [arguments, status, errors] : refusals) {
    TempDir dir;
    WriteBytes(dir / "juego.txt", Borde);
    WriteBytes(dir / "roto.png", "\x89PNG\r\n\x1a\n no es una imagen");
    std::filesystem::copy(Pages + "/test-1.png", dir / "pagina.png");
    std::vector<string> command{GRAVIX_PROGRAM, "--scan"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const PlainRun run = RunPlain(command, dir.path);
    EXPECT_EQ(std::tie(run.status, run.output, run.errors), std::tuple(status, string(), errors))
        << testing::PrintToString(arguments);
    EXPECT_EQ(Files(dir.path), (std::set<string>{"juego.txt", "pagina.png", "roto.png"}));
    EXPECT_EQ(ReadBytes(dir / "juego.txt"), Borde);
  }
}

}  // namespace
