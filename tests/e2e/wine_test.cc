// The Windows build under wine in a pseudo-terminal (wine draws its console with escape sequences
// and hands it the terminal's keys) against the Linux build given the same arguments and keys:
// the screens differ only where the platforms do (a row written up to column 80 moves the Windows
// cursor on; no bell), the files only in their line ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "e2e/terminal.h"

namespace {

namespace fs = std::filesystem;
using std::string;

const fs::path WindowsProgram = GRAVIX_WINDOWS_PROGRAM;
// The Windows unit tests' prefix and wine server, beside the program: made once, kept.
const fs::path WinePrefix = WindowsProgram.parent_path() / "wineprefix";
const std::vector<string> WineSettings = {
    "WINEPREFIX=" + WinePrefix.string(), "TMPDIR=" + WindowsProgram.parent_path().string(),
    "WINEDEBUG=-all", "WINEDLLOVERRIDES=mscoree,mshtml="};  // no installers
constexpr std::chrono::seconds WineWait{60};

bool RunWineTool(string command) {
  for (const string& setting : WineSettings) command = setting + " " + command;
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

TEST(Wine, EndsAndASessionMatchTheLinuxBuild) {
  if (!fs::exists(WindowsProgram) || !RunWineTool("which wine wineserver") ||
      (!fs::exists(WinePrefix / "system.reg") && !RunWineTool("wineboot -i")))
    GTEST_SKIP() << "wine is missing or cannot make its prefix, or " << WindowsProgram
                 << " is not built";
  const struct StopServer {  // it outlives the programs by a few seconds
    ~StopServer() { RunWineTool("wineserver -k"); }
  } stop;
  const string listing = "1 9" + Borde.substr(3);
  TempDir wineDir, nativeDir;
  for (const TempDir* dir : {&wineDir, &nativeDir}) {
    fs::create_directory(dir->path / "carpeta.txt");
    WriteBytes(*dir / "juego.txt", listing);
  }
  auto onWine = [&](std::vector<string> arguments) {
    arguments.insert(arguments.begin(), WindowsProgram.string());
    return ProgramOptions{.arguments = arguments,
                          .directory = wineDir.path,
                          .environment = WineSettings,
                          .program = "wine"};
  };
  // Started by wine alone the console window is gravix.exe's own, as from the Explorer: the help
  // and the fatal errors wait for a key. Wine makes input raw only at the first key read, after
  // the screen is drawn; a key typed before that would be echoed.
  // A name outside ASCII is shown as itself on both.
  for (const std::vector<string>& arguments :
       {std::vector<string>{}, {"carpeta.txt"}, {"canci\xc3\xb3n.txt"}}) {
    Terminal wine(onWine(arguments)), native({.arguments = arguments, .directory = nativeDir.path});
    ASSERT_TRUE(native.WaitForExit());
    const int waitRow = native.CursorRow() + 1;
    ASSERT_TRUE(wine.WaitForText(1, waitRow, "Pulsa una tecla para cerrar.", WineWait))
        << wine.ScreenDump();
    ASSERT_TRUE(wine.WaitUntil(&Terminal::Raw, WineWait));
    wine.SendKeys(" ");
    ASSERT_TRUE(wine.WaitForExit(WineWait)) << wine.ScreenDump();
    EXPECT_EQ(wine.Cells(1, 3), native.Cells(1, 3));
    EXPECT_EQ(wine.TrimmedRow(4), "");  // the rule of dashes ends in column 80
    EXPECT_EQ(wine.Cells(5, waitRow - 1), native.Cells(4, waitRow - 2));
    EXPECT_EQ(wine.RawOutput().find('\a'), string::npos);
    EXPECT_EQ(wine.ExitCode(), native.ExitCode());
  }
  // From cmd the window is cmd's: nothing waits.
  ProgramOptions viaCmd = onWine({"carpeta.txt"});
  viaCmd.arguments.insert(viaCmd.arguments.begin(), {"cmd", "/c"});
  Terminal fromCmd(viaCmd);
  ASSERT_TRUE(fromCmd.WaitForExit(WineWait)) << fromCmd.ScreenDump();
  EXPECT_EQ(fromCmd.ScreenDump().find("Pulsa una tecla"), string::npos);

  // A wrong digit mended, compiled with Enter, left with Ctrl+C answered N (saved). Byte 0xA6 of
  // the key help reaches the console unchanged: both show ª. Ctrl+L types nothing; Ctrl+C is X,
  // and wine drops keys not read yet at a Ctrl+C. The listing has a second name, so it is saved
  // in place; the new tape image is moved into its name.
  fs::create_hard_link(wineDir.path / "juego.txt", wineDir.path / "copia.txt");
  Terminal wine(onWine({"juego.txt"})),
      native({.arguments = {"juego.txt"}, .directory = nativeDir.path});
  // clang-format off
  const std::pair<string, string> steps[] = {
      {"", "---[ Editor ]"}, {"\x1b[3~", " 6000E0076790F0F0FE6 "}, {"0", " 06000E0076790F0F0FE6"},
      {"\x0c" "1", " 016000E0076790F0F0FE6"}, {"\b", " 06000E0076790F0F0FE6"},
      {"\r", "Nombre del programa:"}, {"\x1b", "---[ Editor ]"}, {"\r", "Nombre del programa:"},
      {"BORDE\r32768\r30\r\r", "Bytes: 30"}, {"k", "---[ Editor ]"},
      {"h", "Re Pag/Av Pag"}, {"\x03", "Salir SIN guardar cambios (S/N):"},
      {"n", "Los cambios han sido guardados."}, {" ", ""}};
  // clang-format on
  for (const auto& [keys, shown] : steps) {
    ASSERT_TRUE(wine.WaitUntil(&Terminal::Raw, WineWait)) << wine.ScreenDump();
    wine.SendKeys(keys);
    native.SendKeys(keys);
    ASSERT_TRUE(wine.WaitToShow(shown, WineWait)) << testing::PrintToString(keys) << wine.Cells();
    ASSERT_TRUE(native.WaitToShow(shown)) << native.ScreenDump();
    ASSERT_TRUE(!shown.empty() || (wine.WaitForExit(WineWait) && native.WaitForExit()));
    EXPECT_TRUE(wine.WaitUntil([&](const Terminal& t) { return t.Cells() == native.Cells(); }))
        << testing::PrintToString(keys) << wine.Cells() << native.Cells();
  }
  EXPECT_EQ(wine.ExitCode(), 0);
  auto crLf = [](const string& text) { return std::regex_replace(text, std::regex("\n"), "\r\n"); };
  EXPECT_EQ(ReadBytes(wineDir / "juego.txt") + ReadBytes(wineDir / "copia.txt"),
            crLf(Borde) + crLf(Borde));
  EXPECT_EQ(ReadBytes(wineDir / "juego.bak"), crLf(listing));
  const string image = ReadBytes(nativeDir / "juego.tap");
  EXPECT_TRUE(image.size() == 25 + 30 && ReadBytes(wineDir / "juego.tap") == image);
  // The same answers on the command line, with no console at all, give the same image.
  fs::remove(wineDir / "juego.tap");
  const std::vector<string> tap = {
      "wine", WindowsProgram.string(), "--tap", "BORDE", "32768", "30", "juego.txt"};
  EXPECT_EQ(RunPlain(tap, wineDir.path, WineSettings).status, 0);
  EXPECT_EQ(ReadBytes(wineDir / "juego.tap"), image);
  // The Windows build reads no page images: --scan is a wrong command line there.
  const PlainRun scan = RunPlain({"wine", WindowsProgram.string(), "--scan", "p.png", "s.txt"},
                                 wineDir.path, WineSettings);
  EXPECT_EQ(std::tie(scan.status, scan.errors),
            std::tuple(2, string("gravix: --scan no esta disponible en Windows\r\n"
                                 "Uso: gravix --help\r\n")));
  EXPECT_EQ(Files(wineDir.path),
            (std::set<string>{"carpeta.txt", "copia.txt", "juego.bak", "juego.tap", "juego.txt"}));
}

}  // namespace
