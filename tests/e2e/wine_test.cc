// The Windows build, gravix.exe, under wine in a pseudo-terminal. Wine draws the console on
// the terminal with escape sequences and hands the terminal's keys to the console input, so
// the same harness reads its screen. Each case runs the Linux build with the same arguments
// and keys and compares: the screens differ only where the platforms do (a row written up to
// column 80 moves the Windows cursor on; no bell), the files only in their line ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/terminal.h"

namespace {

namespace fs = std::filesystem;

const fs::path WindowsProgram = GRAVIX_WINDOWS_PROGRAM;
// The prefix the Windows unit tests use, beside the program: made once, kept between runs.
const fs::path WinePrefix = WindowsProgram.parent_path() / "wineprefix";
constexpr std::chrono::milliseconds WineWait{30000};

std::vector<std::string> WineEnvironment() {
  std::vector<std::string> environment = DefaultEnvironment();
  environment.push_back("WINEPREFIX=" + WinePrefix.string());
  environment.push_back("WINEDEBUG=-all");
  environment.push_back("WINEDLLOVERRIDES=mscoree,mshtml=");  // no Mono or Gecko installer
  if (const char* home = std::getenv("HOME")) environment.push_back(std::string("HOME=") + home);
  return environment;
}

std::string WineCommand(const std::string& tool) {
  return "WINEPREFIX='" + WinePrefix.string() +
         "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' " + tool + " >/dev/null 2>&1";
}

bool InPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string directories = path ? path : "";
  for (size_t start = 0; start <= directories.size();) {
    const size_t end = std::min(directories.find(':', start), directories.size());
    if (end > start && fs::exists(fs::path(directories.substr(start, end - start)) / name))
      return true;
    start = end + 1;
  }
  return false;
}

bool wineStarted = false;

// Why wine cannot run the Windows build here; empty when it can. The prefix is made at the
// first call (creating one takes up to a minute).
std::string WineUnavailable() {
  static const std::string reason = [] {
    if (!fs::exists(WindowsProgram))
      return WindowsProgram.string() + " is not built (cmake --build --preset windows)";
    if (!InPath("wine") || !InPath("wineboot") || !InPath("wineserver"))
      return std::string("wine is not installed");
    if (!fs::exists(WinePrefix / "system.reg") &&
        std::system(WineCommand("wineboot -i").c_str()) != 0)
      return "wineboot could not make the prefix " + WinePrefix.string();
    return std::string();
  }();
  wineStarted = wineStarted || reason.empty();
  return reason;
}

// The wine server outlives the programs by a few seconds; none is left behind by the tests.
class StopWineServer : public ::testing::Environment {
 public:
  void TearDown() override {
    // A failure only means it had ended already.
    if (wineStarted && std::system(WineCommand("wineserver -k").c_str()) != 0) return;
  }
};
const auto* const wineServerStop = ::testing::AddGlobalTestEnvironment(new StopWineServer);

ProgramOptions OnWine(std::vector<std::string> arguments, const fs::path& directory = {}) {
  arguments.insert(arguments.begin(), WindowsProgram.string());
  return {.arguments = arguments,
          .directory = directory,
          .environment = WineEnvironment(),
          .program = "wine"};
}

std::string ColourRow(const Terminal& term, int row) {
  std::string colours;
  for (int column = 1; column <= 80; ++column) {
    const int colour = term.Colour(column, row);
    colours += colour < 0 ? '-' : "0123456789ABCDEF"[colour];
  }
  return colours;
}

// count rows of the Windows build's screen from wineFirst against the Linux build's from
// nativeFirst: text and colour, the colour of blank cells included.
void ExpectSameRows(const Terminal& wine, int wineFirst, const Terminal& native, int nativeFirst,
                    int count) {
  for (int k = 0; k < count; ++k) {
    EXPECT_EQ(wine.Row(wineFirst + k), native.Row(nativeFirst + k)) << "wine row " << wineFirst + k;
    EXPECT_EQ(ColourRow(wine, wineFirst + k), ColourRow(native, nativeFirst + k))
        << "colours of wine row " << wineFirst + k;
  }
}

bool RunToEnd(Terminal& term) {
  if (!term.Started()) {
    ADD_FAILURE() << term.StartError();
    return false;
  }
  if (term.WaitForExit(WineWait)) return true;
  ADD_FAILURE() << "the program did not end; screen:\n" << term.ScreenDump();
  return false;
}

class Wine : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string reason = WineUnavailable();
    if (!reason.empty()) GTEST_SKIP() << reason;
  }
};

TEST_F(Wine, HelpStartsOnRowFiveAndTheRunEndsWithZero) {
  Terminal wine(OnWine({}));
  Terminal native({});
  ASSERT_TRUE(RunToEnd(wine));
  ASSERT_TRUE(RunToEnd(native));
  ExpectSameRows(wine, 1, native, 1, 3);
  // The rule of dashes ends in column 80: the Windows console has moved on to row 4 already.
  EXPECT_EQ(wine.TrimmedRow(4), "");
  ExpectSameRows(wine, 5, native, 4, 21);
  EXPECT_EQ(wine.TrimmedRow(5),
            "GRAVIX es un programa para convertir programas del formato de codigo maquina");
  EXPECT_EQ(wine.CursorRow(), 11);
  EXPECT_EQ(wine.CursorColumn(), 1);
  EXPECT_TRUE(wine.CursorVisible());
  EXPECT_EQ(wine.ExitCode(), 0);
  EXPECT_EQ(native.ExitCode(), 0);
}

// The error line in yellow, the help below it, status 1; the bell is not sounded.
TEST_F(Wine, FatalErrorsShowTheirTextsAndEndWithOne) {
  ScratchDirectory dir;
  fs::create_directory(dir.Path() / "carpeta.txt");
  const std::vector<std::vector<std::string>> cases = {
      {"a.txt", "b.txt"}, {"falta.txt"}, {"carpeta.txt"}};
  const std::string texts[] = {
      "  ERROR: Demasiados parametros.", "  ERROR: El fichero \"falta.txt\" no existe.",
      "  ERROR: El fichero \"carpeta.txt\" esta protegido contra escritura o se encuentra en "
      "un dispositivo de solo-lectura."};
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(texts[i]);
    Terminal wine(OnWine(cases[i], dir.Path()));
    Terminal native({.arguments = cases[i], .directory = dir.Path()});
    ASSERT_TRUE(RunToEnd(wine));
    ASSERT_TRUE(RunToEnd(native));
    EXPECT_EQ((wine.Row(5) + wine.Row(6)).substr(0, texts[i].size()), texts[i]);
    EXPECT_EQ(wine.Colour(3, 5), 14);
    ExpectSameRows(wine, 1, native, 1, 3);
    ExpectSameRows(wine, 5, native, 4, 21);
    EXPECT_EQ(wine.RawOutput().find('\a'), std::string::npos);
    EXPECT_NE(native.RawOutput().find('\a'), std::string::npos);
    EXPECT_EQ(wine.ExitCode(), 1);
    EXPECT_EQ(native.ExitCode(), 1);
  }
}

// One step of a session: keys sent, then a text the screen must show (at a cell, or anywhere
// when row is 0).
struct Step {
  std::string keys;
  std::string awaited;
  int column = 0;
  int row = 0;
};

bool Shows(const Terminal& term, const Step& step) {
  if (step.row == 0) return term.ScreenDump().find(step.awaited) != std::string::npos;
  return term.Text(step.column, step.row, static_cast<int>(step.awaited.size())) == step.awaited;
}

std::string Screen(const Terminal& term) {
  std::string screen;
  for (int row = 1; row <= 25; ++row) screen += term.Row(row) + " " + ColourRow(term, row) + "\n";
  return screen;
}

bool RawInput(const Terminal& term) {
  return (term.CurrentSettings().c_lflag & (ICANON | ECHO)) == 0;
}

std::string WithCrLf(const std::string& text) {
  std::string converted;
  for (char c : text) converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return converted;
}

// Load a listing with bare line feeds and a wrong digit, mend the digit (Delete, then the
// right one), compile with Enter, save and leave with Q: both builds step by step.
TEST_F(Wine, SessionLoadEditCompileSaveMatchesTheLinuxBuild) {
  const std::string listing =
      "1 96000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n3 0F0FE607D3FEC9000000 933\n";
  ScratchDirectory wineDir, nativeDir;
  WriteFileBytes(wineDir.Path() / "juego.txt", listing);
  WriteFileBytes(nativeDir.Path() / "juego.txt", listing);
  Terminal wine(OnWine({"juego.txt"}, wineDir.Path()));
  Terminal native({.arguments = {"juego.txt"}, .directory = nativeDir.Path()});
  ASSERT_TRUE(wine.Started()) << wine.StartError();
  ASSERT_TRUE(native.Started()) << native.StartError();

  const Step steps[] = {
      {"", "---[ Editor ]", 1, 5},
      {std::string(KeyBytes::Delete), "6000E0076790F0F0FE6 ", 10, 10},
      {"0", "06000E0076790F0F0FE6", 10, 10},
      {std::string(KeyBytes::Enter), "Nombre del programa:"},
      {"BORDE\r", "Direccion del DUMP [0-65535]:"},
      {"32768\r", "Numero de BYTES [0-30]:"},
      {"30\r", "Bytes: 30"},
      {"k", "---[ Editor ]", 1, 5},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE("after the keys \"" + step.keys + "\"");
    // Wine switches the terminal to raw input only when the program first reads a key, after
    // it has drawn; a key typed before that would be echoed by the terminal.
    ASSERT_TRUE(wine.WaitUntil(RawInput, WineWait));
    wine.SendKeys(step.keys);
    native.SendKeys(step.keys);
    ASSERT_TRUE(wine.WaitUntil([&](const Terminal& t) { return Shows(t, step); }, WineWait))
        << wine.ScreenDump();
    ASSERT_TRUE(native.WaitUntil([&](const Terminal& t) { return Shows(t, step); }))
        << native.ScreenDump();
    // The rest of the redraw may still be on its way.
    wine.WaitUntil([&](const Terminal& t) { return Screen(t) == Screen(native); });
    EXPECT_EQ(Screen(wine), Screen(native));
  }
  // Byte 0xA6 of the key help goes to the console unchanged; its code page shows it as ª.
  EXPECT_EQ(wine.Text(26, 25, 13), "H = Ver 2\u00aa pa");
  ASSERT_TRUE(wine.WaitUntil(RawInput, WineWait));
  wine.SendKeys("q");
  native.SendKeys("q");
  ASSERT_TRUE(RunToEnd(wine));
  ASSERT_TRUE(RunToEnd(native));
  EXPECT_EQ(Screen(wine), Screen(native));
  EXPECT_EQ(wine.ExitCode(), 0);
  EXPECT_EQ(native.ExitCode(), 0);

  const std::string saved = ReadFileBytes(nativeDir.Path() / "juego.txt");
  EXPECT_EQ(saved,
            "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n"
            "3 0F0FE607D3FEC9000000 933\n");
  EXPECT_EQ(ReadFileBytes(wineDir.Path() / "juego.txt"), WithCrLf(saved));
  EXPECT_EQ(ReadFileBytes(nativeDir.Path() / "juego.bak"), listing);
  EXPECT_EQ(ReadFileBytes(wineDir.Path() / "juego.bak"), WithCrLf(listing));
  const std::string image = ReadFileBytes(nativeDir.Path() / "juego.tap");
  EXPECT_EQ(image.size(), 19u + 2 + 2 + 30 + 2);
  EXPECT_TRUE(ReadFileBytes(wineDir.Path() / "juego.tap") == image);
}

}  // namespace
