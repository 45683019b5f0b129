// The built program in a pseudo-terminal: what start-up shows, how it ends, and that the
// terminal is left as it was found.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "e2e/terminal.h"

namespace {

namespace fs = std::filesystem;

const std::string HelpText[] = {
    "GRAVIX es un programa para convertir programas del formato de codigo maquina",
    " de la revista Microhobby a un fichero de cinta que se pueda cargar en un",
    " emulador de Spectrum.",
    "",
    "Uso:     GRAVIX fichero",
    " donde  fichero = Archivo de texto con el codigo a compilar",
};

const std::string ProtectedText =
    "\" esta protegido contra escritura o se encuentra en un dispositivo de solo-lectura.";

// A text the program wrote across rows, as one string.
std::string WrappedText(const Terminal& term, int row, size_t length) {
  std::string text;
  while (text.size() < length && row <= 25) text += term.Row(row++);
  return text.substr(0, length);
}

void ExpectBanner(const Terminal& term) {
  EXPECT_EQ(term.TrimmedRow(1), "               GRAVIX v0.5a");
  EXPECT_EQ(term.Colour(16, 1), 12);
  EXPECT_EQ(term.TrimmedRow(2).substr(0, 20), "          Listados d");
  EXPECT_EQ(term.Colour(11, 2), 10);
  EXPECT_EQ(term.Row(3), std::string(80, '-'));
  EXPECT_EQ(term.Colour(1, 3), 9);
  EXPECT_EQ(term.Colour(80, 3), 9);
}

void ExpectHelp(const Terminal& term, int firstRow) {
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(term.TrimmedRow(firstRow + i), HelpText[i]) << "row " << firstRow + i;
  EXPECT_EQ(term.Colour(1, firstRow), 15);
  EXPECT_EQ(term.Colour(59, firstRow + 5), 15);
  EXPECT_EQ(term.TrimmedRow(firstRow + 6), "");
}

// A fatal error: the yellow error line from row 4, the bell's empty line, the help, status 1.
void ExpectFatalError(const Terminal& term, const std::string& errorLine) {
  ExpectBanner(term);
  EXPECT_EQ(WrappedText(term, 4, errorLine.size() + 1), errorLine + " ");
  EXPECT_EQ(term.Colour(3, 4), 14);
  const int lastRow = 4 + static_cast<int>(errorLine.size() - 1) / 80;
  EXPECT_EQ(term.Colour(static_cast<int>(errorLine.size() - 1) % 80 + 1, lastRow), 14);
  EXPECT_EQ(term.TrimmedRow(lastRow + 1), "");
  EXPECT_NE(term.RawOutput().find('\a'), std::string::npos);
  ExpectHelp(term, lastRow + 2);
  EXPECT_TRUE(term.CursorVisible());
  EXPECT_EQ(term.ExitCode(), 1);
}

// Runs the program to its end; false (with the reason recorded) when it did not end.
// Leaves the editor without saving (X answered S) once its screen is up.
void QuitEditor(Terminal& term) {
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  term.SendKeys("xs");
}

bool RunToEnd(Terminal& term) {
  if (!term.Started()) {
    ADD_FAILURE() << term.StartError();
    return false;
  }
  if (term.WaitForExit()) return true;
  ADD_FAILURE() << "the program did not end; screen:\n" << term.ScreenDump();
  return false;
}

TEST(Startup, NoArgumentShowsBannerAndHelpAndEndsWithZero) {
  Terminal term({});
  ASSERT_TRUE(RunToEnd(term));
  ExpectBanner(term);
  ExpectHelp(term, 4);
  EXPECT_EQ(term.CursorRow(), 10);
  EXPECT_EQ(term.CursorColumn(), 1);
  EXPECT_TRUE(term.CursorVisible());
  EXPECT_EQ(term.RawOutput().find('\a'), std::string::npos);
  EXPECT_EQ(term.ExitCode(), 0);
}

TEST(Startup, TwoArgumentsAreAFatalError) {
  Terminal term({.arguments = {"a.txt", "b.txt"}});
  ASSERT_TRUE(RunToEnd(term));
  ExpectFatalError(term, "  ERROR: Demasiados parametros.");
}

TEST(Startup, MissingFileIsAFatalError) {
  ScratchDirectory dir;
  Terminal term({.arguments = {"falta.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(RunToEnd(term));
  ExpectFatalError(term, "  ERROR: El fichero \"falta.txt\" no existe.");
}

TEST(Startup, DirectoryAndFifoAreRefusedAsWriteProtected) {
  ScratchDirectory dir;
  fs::create_directory(dir.Path() / "carpeta.txt");
  ASSERT_EQ(mkfifo((dir.Path() / "tuberia.txt").c_str(), 0666), 0);
  for (const std::string name : {"carpeta.txt", "tuberia.txt"}) {
    SCOPED_TRACE(name);
    // Opening the FIFO would wait for a writer forever: the run must end on its own.
    Terminal term({.arguments = {name}, .directory = dir.Path()});
    ASSERT_TRUE(RunToEnd(term));
    ExpectFatalError(term, "  ERROR: El fichero \"" + name + ProtectedText);
  }
}

TEST(Startup, ReadOnlyFileIsRefusedForAnUnprivilegedUser) {
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "juego.txt", "1 00000000000000000000 0\n");
  ASSERT_EQ(chmod((dir.Path() / "juego.txt").c_str(), 0444), 0);
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path(), .unprivileged = true});
  if (!term.Started())
    GTEST_SKIP() << "cannot run the program as user 65534: " << term.StartError();
  ASSERT_TRUE(RunToEnd(term));
  ExpectFatalError(term, "  ERROR: El fichero \"juego.txt" + ProtectedText);
}

TEST(Startup, WritableFileIsLeftUnchangedAndTheRunEndsNormally) {
  ScratchDirectory dir;
  const std::string listing = "1 00000000000000000000 0\r\n2 0102 3\n";
  WriteFileBytes(dir.Path() / "juego.txt", listing);
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
  QuitEditor(term);
  ASSERT_TRUE(RunToEnd(term));
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"), listing);
  EXPECT_EQ(term.ScreenDump(), std::string(25, '\n'));
  EXPECT_TRUE(term.CursorVisible());
  EXPECT_EQ(term.ExitCode(), 0);
}

// A name longer than 255 characters: the file operations use all of it, the screen only its
// first characters. No file system takes a 300-character name, so it runs through directories
// whose first 255 characters name nothing.
TEST(Startup, LongNameIsUsedWholeAndShownCut) {
  ScratchDirectory dir;
  const std::string parents = std::string(120, 'a') + "/" + std::string(120, 'b') + "/";
  const std::string fileName = parents + std::string(58, 'c');
  const std::string folderName = parents + std::string(58, 'd');
  ASSERT_EQ(fileName.size(), 300u);
  fs::create_directories(dir.Path() / folderName);
  WriteFileBytes(dir.Path() / fileName, "1 00000000000000000000 0\n");
  {
    Terminal term({.arguments = {fileName}, .directory = dir.Path()});
    QuitEditor(term);
    ASSERT_TRUE(RunToEnd(term));
    EXPECT_EQ(term.ExitCode(), 0) << term.ScreenDump();
  }
  Terminal term({.arguments = {folderName}, .directory = dir.Path()});
  ASSERT_TRUE(RunToEnd(term));
  const std::string errorLine = "  ERROR: El fichero \"" + folderName;
  ExpectFatalError(term, errorLine.substr(0, 255));
}

TEST(Startup, TerminalSmallerThan80x25IsAFatalError) {
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "juego.txt", "1 00000000000000000000 0\n");
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path(), .rows = 24});
  ASSERT_TRUE(RunToEnd(term));
  // The program asks the terminal to grow; this one does not.
  EXPECT_NE(term.RawOutput().find("\x1b[8;25;80t"), std::string::npos);
  ExpectFatalError(term, "  ERROR: La ventana del terminal es menor de 80x25 caracteres.");
}

// Keys read from a finished input must end the run, never spin on it.
TEST(Startup, InputAtEndOfFileEndsTheRun) {
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "juego.txt", "1 00000000000000000000 0\n");
  Terminal term(
      {.arguments = {"juego.txt"}, .directory = dir.Path(), .standardInput = "/dev/null"});
  ASSERT_TRUE(RunToEnd(term));
  EXPECT_NE(term.RawOutput().find("Runtime error "), std::string::npos) << term.ScreenDump();
  EXPECT_GT(term.ExitCode(), 0);
}

TEST(Startup, TerminationSignalRestoresTheTerminalAndEndsTheRun) {
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "juego.txt", "1 00000000000000000000 0\n");
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.Started()) << term.StartError();
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  const bool rawInput = (term.CurrentSettings().c_lflag & (ICANON | ECHO)) == 0;
  term.Signal(SIGTERM);
  ASSERT_TRUE(RunToEnd(term));
  EXPECT_TRUE(rawInput);
  EXPECT_EQ(term.EndSignal(), SIGTERM);
  EXPECT_TRUE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
  EXPECT_TRUE(term.CursorVisible());
}

}  // namespace
