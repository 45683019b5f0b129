// The Windows build under wine in a pseudo-terminal (wine draws the console with escape
// sequences and hands it the terminal's keys), against the Linux build with the same
// arguments and keys: the screens differ only where the platforms do (a row written up to
// column 80 moves the Windows cursor on; no bell), the files only in their line ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "e2e/terminal.h"

namespace {

namespace fs = std::filesystem;
using std::string;

const fs::path WindowsProgram = GRAVIX_WINDOWS_PROGRAM;
// The Windows unit tests' prefix, beside the program: made once, kept between runs.
const fs::path WinePrefix = WindowsProgram.parent_path() / "wineprefix";
const std::vector<string> WineSettings = {"WINEPREFIX=" + WinePrefix.string(), "WINEDEBUG=-all",
                                          "WINEDLLOVERRIDES=mscoree,mshtml="};  // no installers
constexpr std::chrono::milliseconds WineWait{30000};

int RunWineTool(string command) {
  for (const string& setting : WineSettings) command = setting + " " + command;
  return std::system((command + " >/dev/null 2>&1").c_str());
}

class Wine : public ::testing::Test {
 protected:
  // Why wine cannot run the Windows build here, asked once (a new prefix takes a minute).
  static void SetUpTestSuite() {
    if (!fs::exists(WindowsProgram))
      unavailable_ = WindowsProgram.string() + " is not built (cmake --build --preset windows)";
    else if (std::system("which wine wineboot wineserver >/dev/null") != 0 ||
             (!fs::exists(WinePrefix / "system.reg") && RunWineTool("wineboot -i") != 0))
      unavailable_ = "wine is not installed, or cannot make its prefix";
  }
  // The wine server outlives the programs by a few seconds; none is left behind.
  static void TearDownTestSuite() {
    if (unavailable_.empty()) RunWineTool("wineserver -k");
  }
  void SetUp() override {
    if (!unavailable_.empty()) GTEST_SKIP() << unavailable_;
  }
  static inline string unavailable_;
};

ProgramOptions OnWine(std::vector<string> arguments, const fs::path& directory = {}) {
  arguments.insert(arguments.begin(), WindowsProgram.string());
  std::vector<string> environment = DefaultEnvironment();
  environment.insert(environment.end(), WineSettings.begin(), WineSettings.end());
  return {.arguments = arguments,
          .directory = directory,
          .environment = environment,
          .program = "wine"};
}

// Rows first to last: their text and the colours of all their cells, blanks included.
string Cells(const Terminal& term, int first, int last = 25) {
  string cells;
  for (int row = first; row <= last; ++row) {
    cells += term.Row(row) + " ";
    for (int column = 1; column <= 80; ++column)
      cells += "-0123456789ABCDEF"[term.Colour(column, row) + 1];
    cells += "\n";
  }
  return cells;
}

TEST_F(Wine, EndsBeforeTheEditorMatchTheLinuxBuild) {
  ScratchDirectory dir;
  fs::create_directory(dir.Path() / "carpeta.txt");
  const std::vector<std::vector<string>> cases = {
      {}, {"a.txt", "b.txt"}, {"falta.txt"}, {"carpeta.txt"}};
  for (const std::vector<string>& arguments : cases) {
    SCOPED_TRACE(arguments.empty() ? "help" : arguments[0]);
    Terminal wine(OnWine(arguments, dir.Path()));
    Terminal native({.arguments = arguments, .directory = dir.Path()});
    ASSERT_TRUE(wine.WaitForExit(WineWait)) << wine.StartError() << wine.ScreenDump();
    ASSERT_TRUE(native.WaitForExit()) << native.ScreenDump();
    EXPECT_EQ(Cells(wine, 1, 3), Cells(native, 1, 3));
    // The rule of dashes ends in column 80: the Windows console is on row 4 already.
    EXPECT_EQ(wine.TrimmedRow(4), "");
    EXPECT_EQ(Cells(wine, 5), Cells(native, 4, 24));
    EXPECT_EQ(wine.CursorRow(), native.CursorRow() + 1);
    EXPECT_EQ(wine.RawOutput().find('\a'), string::npos);
    EXPECT_EQ(wine.ExitCode(), native.ExitCode());
  }
}

// Load a listing with bare line feeds and a wrong digit, mend the digit, compile with Enter,
// save and leave with Q: both builds key by key.
TEST_F(Wine, SessionLoadEditCompileSaveMatchesTheLinuxBuild) {
  const string listing =
      "1 96000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n3 0F0FE607D3FEC9000000 933\n";
  ScratchDirectory wineDir, nativeDir;
  WriteFileBytes(wineDir.Path() / "juego.txt", listing);
  WriteFileBytes(nativeDir.Path() / "juego.txt", listing);
  Terminal wine(OnWine({"juego.txt"}, wineDir.Path()));
  Terminal native({.arguments = {"juego.txt"}, .directory = nativeDir.Path()});
  // Keys, then a text the screen shows once they are handled.
  const std::pair<string, string> steps[] = {{"", "---[ Editor ]"},
                                             {string(KeyBytes::Delete), " 6000E0076790F0F0FE6 "},
                                             {"0", " 06000E0076790F0F0FE6"},
                                             {"\r", "Nombre del programa:"},
                                             {"BORDE\r32768\r30\r", "Bytes: 30"},
                                             {"k", "---[ Editor ]"},
                                             {"q", ""}};
  for (const auto& [keys, shown] : steps) {
    SCOPED_TRACE("after the keys \"" + keys + "\"");
    // Wine makes the terminal's input raw only at the program's first key read, after it has
    // drawn; a key typed before that would be echoed.
    ASSERT_TRUE(wine.WaitUntil(
        [](const Terminal& t) { return (t.CurrentSettings().c_lflag & (ICANON | ECHO)) == 0; },
        WineWait))
        << wine.ScreenDump();
    wine.SendKeys(keys);
    native.SendKeys(keys);
    auto shows = [&](const Terminal& t) { return t.ScreenDump().find(shown) != string::npos; };
    ASSERT_TRUE(wine.WaitUntil(shows, WineWait)) << wine.ScreenDump();
    ASSERT_TRUE(native.WaitUntil(shows)) << native.ScreenDump();
    // Byte 0xA6 of the key help goes to the console unchanged, shown as ª.
    EXPECT_TRUE(keys == "q" || wine.Text(26, 25, 13) == "H = Ver 2\u00aa pa");
    if (keys == "q") {
      ASSERT_TRUE(wine.WaitForExit(WineWait) && native.WaitForExit());
    }
    // The rest of the redraw may still be on its way.
    wine.WaitUntil([&](const Terminal& t) { return Cells(t, 1) == Cells(native, 1); });
    EXPECT_EQ(Cells(wine, 1), Cells(native, 1));
  }
  EXPECT_EQ(wine.ExitCode(), 0);
  const string saved = ReadFileBytes(nativeDir.Path() / "juego.txt");
  EXPECT_EQ(saved, "1 06000E0076790F0F0FE6 534\n" + listing.substr(27));
  auto crLf = [](const string& text) { return std::regex_replace(text, std::regex("\n"), "\r\n"); };
  EXPECT_EQ(ReadFileBytes(wineDir.Path() / "juego.txt"), crLf(saved));
  EXPECT_EQ(ReadFileBytes(wineDir.Path() / "juego.bak"), crLf(listing));
  const string image = ReadFileBytes(nativeDir.Path() / "juego.tap");
  EXPECT_EQ(image.size(), 25u + 30);
  EXPECT_TRUE(ReadFileBytes(wineDir.Path() / "juego.tap") == image);
}

}  // namespace
