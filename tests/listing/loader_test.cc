#include "listing/loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "platform/platform.h"
#include "shell/banner.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view Data = " 00112233445566778899 765";  // after the number
// Line 4 with a NUL byte in its data: an ordinary character, kept everywhere.
const std::string NulLine = "4 0011" + std::string(1, '\0') + "2233445566778899 765";

std::string ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The lines as the backup must hold them: each followed by this build's line end.
std::string BackupOf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + std::string(LineEnd());
  return text;
}

std::vector<std::string> NumberedLines(int first, int last) {
  std::vector<std::string> lines;
  for (int n = first; n <= last; ++n) lines.push_back(std::to_string(n) + std::string(Data));
  return lines;
}

std::string Numbered(int first, int last) {
  std::string text;
  for (const std::string& line : NumberedLines(first, last)) text += line + "\n";
  return text;
}

struct LoaderTest : testing::Test {
  MemoryConsole screen;
  LineTable table;
  fs::path dir =
      fs::temp_directory_path() / ("gravix-loader-" + std::to_string(std::random_device{}()));
  fs::path listing = dir / "juego.txt";
  fs::path backup = dir / "juego.bak";
  // The loader writes from the cursor the banner leaves: row 4, or 5 where the banner's
  // full-width rule already moved the cursor on.
  int first = LastColumnMovesCursorOn() ? 5 : 4;

  LoaderTest() {
    fs::create_directories(dir);
    ShowBanner();
  }
  ~LoaderTest() override {
    FreeLineTable(MaxLines, table);
    fs::remove_all(dir);
  }

  void Load(std::string_view bytes, LoadBudget budget = {int64_t{1} << 30, 1}) {
    WriteBytes(listing, bytes);
    LoadListing(listing.string(), table, budget);
  }
  // Row k of the loader's own text, counted from 0.
  std::string Row(int k) const { return screen.TrimmedRow(first + k); }
  int Colour(int column, int k) const { return screen.Colour(column, first + k); }
  void ExpectPauseAt(int k) const {
    EXPECT_EQ(Row(k), "Proceso del fichero de entrada finalizado. Pulsa una tecla.");
    EXPECT_EQ(Colour(1, k), Yellow);
    EXPECT_EQ(screen.KeysLeft(), 0u);
  }
};

TEST_F(LoaderTest, CleanListingIsStoredAsTypedWithoutMessageOrPause) {
  const std::vector<std::string> lines = {
      "1" + std::string(Data),
      "  2   00 11 22 33 44 55 66 77 88 99   765  ",
      "3 0011223344556677889a 765",  // lower case stays as typed
      NulLine,
      "5 short",  // under 10 characters: only copied
      "",
      "005" + std::string(Data),
  };
  std::string file;
  for (const std::string& line : lines) file += line + "\n";
  Load(file);  // no keys scripted: a pause would throw KeysExhausted

  EXPECT_EQ(table.count, 5);
  EXPECT_EQ(LineText(table, 1), "1 00112233445566778899 765");
  EXPECT_EQ(LineText(table, 2), "2 00112233445566778899 765");
  EXPECT_EQ(LineText(table, 3), "3 0011223344556677889a 765");
  EXPECT_EQ(LineText(table, 4), NulLine);
  EXPECT_EQ(LineText(table, 5), "005 00112233445566778899 765");
  EXPECT_EQ(table.lines[5], nullptr);
  EXPECT_EQ(ReadBytes(backup), BackupOf(lines));

  EXPECT_EQ(Row(0), "Procesando fichero de entrada...");
  EXPECT_EQ(Colour(1, 0), Yellow);
  EXPECT_EQ(Row(1), "");
  // Only the activity indicator, flickered in place once per stored line.
  ASSERT_EQ(Row(2).size(), 1u);
  EXPECT_NE(std::string("<=>").find(Row(2)[0]), std::string::npos);
  EXPECT_EQ(std::count(screen.Written().begin(), screen.Written().end(), '\b'), 5);
  EXPECT_EQ(Row(3), "");
  EXPECT_EQ(screen.CursorRow(), first + 2);
}

TEST_F(LoaderTest, EmptyAndShortFilesStoreNothingAndNeverPause) {
  Load("");
  EXPECT_EQ(table.count, 0);
  EXPECT_TRUE(fs::exists(backup));
  EXPECT_EQ(ReadBytes(backup), "");
  Load("\n\n123456789\n");
  EXPECT_EQ(table.count, 0);
  EXPECT_EQ(ReadBytes(backup), BackupOf({"", "", "123456789"}));
  EXPECT_EQ(table.lines[0], nullptr);
}

TEST_F(LoaderTest, LineEndsAreLineFeedReturnOrBothAndNulIsACharacter) {
  // A 64 KiB first line puts its carriage return last in one read and its line feed first in
  // the next: still one line end.
  std::string wide = "1" + std::string(Data);
  wide.resize(64 * 1024 - 1, ' ');
  Load(wide + "\r\n2" + std::string(Data) + "\r3" + std::string(Data) + "\r\n\r\n\n\r" + NulLine);
  EXPECT_EQ(table.count, 4);
  EXPECT_EQ(LineText(table, 1), "1 00112233445566778899 765");
  EXPECT_EQ(LineText(table, 3), "3 00112233445566778899 765");
  EXPECT_EQ(LineText(table, 4), NulLine);
  EXPECT_EQ(ReadBytes(backup), BackupOf({wide, "2" + std::string(Data), "3" + std::string(Data), "",
                                         "", "", NulLine}));
}

TEST_F(LoaderTest, LongLinesAreSplitOnTheirStartAndBackedUpWhole) {
  const std::string over = "1" + std::string(Data) + std::string(300, ' ') + "X";
  const std::string huge = "2 0011223344556677889" + std::string(200000, 'F') + " 765";
  Load(over + "\n" + huge + "\n");
  EXPECT_EQ(table.count, 2);
  EXPECT_EQ(LineText(table, 1), "1 00112233445566778899 765");
  // 255 characters of one run: number, no data, the run's first 10 as the checksum.
  EXPECT_EQ(LineText(table, 2), "2  0011223344");
  EXPECT_EQ(ReadBytes(backup), BackupOf({over, huge}));
}

TEST_F(LoaderTest, OneMissingLineAnsweredYesBecomesAZeroLine) {
  // An extended key whose scan code is an S (Delete, 83) and other keys are ignored.
  screen.Keys("x" + DeleteKey + "s" + UpKey);
  Load(Numbered(1, 1) + Numbered(3, 3));
  EXPECT_EQ(table.count, 3);
  EXPECT_EQ(LineText(table, 2), "2 00000000000000000000 0");
  EXPECT_EQ(LineText(table, 3), "3 00112233445566778899 765");

  EXPECT_EQ(Row(2), "  Numero de linea encontrado: \"3\"");
  EXPECT_EQ(Colour(3, 2), LightMagenta);
  EXPECT_EQ(Row(3), "  Numero de linea esperado: \"2\"");
  EXPECT_EQ(Colour(30, 3), LightMagenta);
  EXPECT_EQ(Row(4), "   La linea \"2\" es una linea de ceros (S/N): s");
  EXPECT_EQ(Colour(4, 4), White);
  EXPECT_EQ(Colour(46, 4), White);
  EXPECT_EQ(Row(5), "    Insertando linea \"2\" como linea de ceros");
  EXPECT_EQ(Colour(5, 5), LightCyan);
  EXPECT_EQ(Row(6).size(), 1u);  // the indicator, left on the empty line before the pause
  ExpectPauseAt(7);
  EXPECT_FALSE(screen.CursorVisible());
  EXPECT_EQ(ReadBytes(backup), BackupOf({"1" + std::string(Data), "3" + std::string(Data)}));
}

TEST_F(LoaderTest, SeveralMissingLinesAnsweredNoRenumberAndTheNextGapIsAskedAgain) {
  screen.Keys(
      "N"
      "S"
      " ");
  Load(Numbered(1, 2) + Numbered(5, 6));
  EXPECT_EQ(Row(2), "  Numero de linea encontrado: \"5\"");
  EXPECT_EQ(Row(3), "  Numero de linea esperado: \"3\"");
  EXPECT_EQ(Row(4), "   Lineas de ceros desde \"3\" hasta \"4\" (S/N): N");
  EXPECT_EQ(Row(5), "    Renumerando linea \"5\" a \"3\"");
  EXPECT_EQ(Colour(5, 5), LightCyan);
  EXPECT_EQ(Row(6), "  Numero de linea encontrado: \"6\"");
  EXPECT_EQ(Row(7), "  Numero de linea esperado: \"4\"");
  EXPECT_EQ(Row(8), "   Lineas de ceros desde \"4\" hasta \"5\" (S/N): S");
  EXPECT_EQ(Row(9), "    Insertando lineas de ceros desde \"4\" hasta \"5\"");
  EXPECT_EQ(Colour(5, 9), LightCyan);
  ExpectPauseAt(11);
  EXPECT_EQ(table.count, 6);
  EXPECT_EQ(LineText(table, 3), "3 00112233445566778899 765");
  EXPECT_EQ(LineText(table, 4), "4 00000000000000000000 0");
  EXPECT_EQ(LineText(table, 5), "5 00000000000000000000 0");
  EXPECT_EQ(LineText(table, 6), "6 00112233445566778899 765");
}

TEST_F(LoaderTest, UnreadableAndRepeatedNumbersAreRetypedUntilLargeEnough) {
  // 1 is rejected (too small) and the letter ignored; then 2. The repeated 2 becomes 3.
  screen.Keys(
      "\r1\ra2\r"
      "3\r"
      " ");
  Load(Numbered(1, 1) + "1O 0011223344556677889A 7650\n" + Numbered(2, 2));
  EXPECT_EQ(Row(2), "  Numero de linea encontrado incorrecto:");
  EXPECT_EQ(Colour(3, 2), LightGreen);
  EXPECT_EQ(Row(3), "    1O 0011223344556677889A 7650");
  EXPECT_EQ(Colour(5, 3), LightRed);
  EXPECT_EQ(Colour(6, 3), LightRed);
  EXPECT_EQ(Colour(8, 3), White);
  EXPECT_EQ(Colour(29, 3), White);
  EXPECT_EQ(Row(4), "  Numero de linea esperado: 2");
  EXPECT_EQ(Colour(28, 4), LightGreen);
  EXPECT_EQ(Colour(29, 4), LightRed);
  EXPECT_EQ(Row(5), "   Introduce numero de linea correcto: 1");
  EXPECT_EQ(Colour(40, 5), White);
  EXPECT_EQ(Row(6), "   Introduce numero de linea correcto: 2");
  EXPECT_EQ(Row(7), "    Renumerando linea \"1O\" a \"2\"");
  EXPECT_EQ(Colour(5, 7), LightCyan);
  EXPECT_EQ(Row(8), "  Numero de linea encontrado incorrecto:");
  EXPECT_EQ(Row(9), "    2 00112233445566778899 765");
  EXPECT_EQ(Row(10), "  Numero de linea esperado: 3");
  EXPECT_EQ(Row(11), "   Introduce numero de linea correcto: 3");
  EXPECT_EQ(Row(12), "    Renumerando linea \"2\" a \"3\"");
  ExpectPauseAt(14);
  EXPECT_EQ(table.count, 3);
  EXPECT_EQ(LineText(table, 2), "2 0011223344556677889A 7650");
  EXPECT_EQ(LineText(table, 3), "3 00112233445566778899 765");
}

TEST_F(LoaderTest, ATypedNumberAboveTheExpectedOneLeadsIntoTheGapQuestion) {
  // Line 0 is too small; 0003 keeps its zeros as typed until the gap answer renumbers it.
  screen.Keys(
      "0003\r"
      "n"
      "\r");
  Load("0" + std::string(Data) + "\n");
  EXPECT_EQ(Row(3), "    0 00112233445566778899 765");
  EXPECT_EQ(Row(4), "  Numero de linea esperado: 1");
  EXPECT_EQ(Row(5), "   Introduce numero de linea correcto: 0003");
  EXPECT_EQ(Row(6), "    Renumerando linea \"0\" a \"0003\"");
  EXPECT_EQ(Row(7), "  Numero de linea encontrado: \"3\"");
  EXPECT_EQ(Row(8), "  Numero de linea esperado: \"1\"");
  EXPECT_EQ(Row(9), "   Lineas de ceros desde \"1\" hasta \"2\" (S/N): n");
  EXPECT_EQ(Row(10), "    Renumerando linea \"0003\" a \"1\"");
  ExpectPauseAt(12);
  EXPECT_EQ(table.count, 1);
  EXPECT_EQ(LineText(table, 1), "1 00112233445566778899 765");
}

TEST_F(LoaderTest, ControlBytesInFieldsAreShownAsQuestionMarksAndKeptAsTyped) {
  const std::string line = "\x1b]2;T\x07 00\x1b[2J\x07 76\x1b";
  screen.Keys(
      "1\r"
      " ");
  Load(line + "\n");
  EXPECT_EQ(Row(3), "    ?]2;T 00?[2J? 76?");
  EXPECT_EQ(Row(5), "   Introduce numero de linea correcto: 1");
  EXPECT_EQ(Row(6), "    Renumerando linea \"?]2;T\" a \"1\"");
  EXPECT_EQ(screen.Written().find('\x1b'), std::string::npos);
  EXPECT_EQ(screen.Bells(), 0);
  EXPECT_EQ(LineText(table, 1), "1 00\x1b[2J\x07 76\x1b");
  EXPECT_EQ(ReadBytes(backup), BackupOf({line}));
}

TEST_F(LoaderTest, ATable5001LinesLongKeeps5000AndTellsTheClampedFreeBytes) {
  screen.Keys(UpKey);  // an extended key ends the pause as well
  Load(Numbered(1, 5001), {int64_t{5} << 30, 7});
  EXPECT_EQ(table.count, 5000);
  EXPECT_EQ(LineText(table, 5000), "5000 00112233445566778899 765");
  EXPECT_EQ(Row(3),
            "Memoria llena [2147483647 bytes libres] o numero de lineas maximo [5000 lineas]");
  EXPECT_EQ(Row(4), "excedido.");
  EXPECT_EQ(Colour(1, 3), LightCyan);
  EXPECT_EQ(Row(5), "Total de lineas procesadas: 5000");
  EXPECT_EQ(Colour(1, 5), LightCyan);
  ExpectPauseAt(7);
  EXPECT_EQ(ReadBytes(backup), BackupOf(NumberedLines(1, 5001)));
}

TEST_F(LoaderTest, RunningOutOfMemoryStopsStoringButNotCopying) {
  screen.Keys(" ");
  Load(Numbered(1, 5), {3 * LineBlockSize + 60, 7});
  EXPECT_EQ(table.count, 3);
  EXPECT_EQ(table.lines[3], nullptr);
  EXPECT_EQ(Row(3),
            "Memoria llena [60 bytes libres] o numero de lineas maximo [5000 lineas] excedido");
  EXPECT_EQ(Row(4), ".");
  EXPECT_EQ(Row(5), "Total de lineas procesadas: 3");
  ExpectPauseAt(7);
  EXPECT_EQ(ReadBytes(backup), BackupOf(NumberedLines(1, 5)));
}

TEST_F(LoaderTest, ZeroLinesRunningPastTheTableFillItToTheLastEntry) {
  screen.Keys(
      "S"
      " ");
  Load(Numbered(1, 4998) + Numbered(5003, 5004));
  EXPECT_EQ(Row(2), "  Numero de linea encontrado: \"5003\"");
  EXPECT_EQ(Row(4), "   Lineas de ceros desde \"4999\" hasta \"5002\" (S/N): S");
  EXPECT_EQ(Row(5), "    Insertando lineas de ceros desde \"4999\" hasta \"5002\"");
  EXPECT_EQ(Row(7).substr(0, 15), "Memoria llena [");
  EXPECT_EQ(Row(9), "Total de lineas procesadas: 5000");
  ExpectPauseAt(11);
  EXPECT_EQ(table.count, 5000);
  EXPECT_EQ(LineText(table, 4999), "4999 00000000000000000000 0");
  EXPECT_EQ(LineText(table, 5000), "5000 00000000000000000000 0");
  std::vector<std::string> lines = NumberedLines(1, 4998);
  lines.push_back("5003" + std::string(Data));
  lines.push_back("5004" + std::string(Data));
  EXPECT_EQ(ReadBytes(backup), BackupOf(lines));
}

TEST_F(LoaderTest, TheBackupNeverNamesTheListingItself) {
  const std::string plain = (dir / "juego.txt").string();
  EXPECT_EQ(BackupFileName(plain), (dir / "juego.bak").string());
  EXPECT_EQ(BackupFileName((dir / "juego").string()), (dir / "juego.bak").string());
  EXPECT_EQ(BackupFileName("x.bak"), "x.bak.bak");
  WriteBytes(plain, "1");
  fs::create_hard_link(plain, dir / "juego.bak");
  EXPECT_EQ(BackupFileName(plain), plain + ".bak");
}

TEST_F(LoaderTest, AListingNamedLikeItsBackupIsReadAndKept) {
  listing = dir / "x.bak";
  backup = dir / "x.bak.bak";
  Load(Numbered(1, 2));
  EXPECT_EQ(table.count, 2);
  EXPECT_EQ(ReadBytes(listing), Numbered(1, 2));
  EXPECT_EQ(ReadBytes(backup), BackupOf(NumberedLines(1, 2)));
}

TEST_F(LoaderTest, AReadErrorEndsTheRunWithItsCode) {
  // A directory opens for reading on Linux but every read fails.
  fs::create_directory(dir / "listado");
  LoadBudget budget{1 << 20, 1};
  try {
    LoadListing((dir / "listado").string(), table, budget);
    FAIL() << "the load went on";
  } catch (const ProgramEnd& end) {
    EXPECT_TRUE(end.runtimeError);
    EXPECT_NE(end.status, 0);
    EXPECT_EQ(screen.RuntimeErrorLine(), "Runtime error " + std::to_string(end.status));
  }
}

}  // namespace
