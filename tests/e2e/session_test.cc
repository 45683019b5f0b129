// Whole sessions of the real program, driven by the keys a terminal sends.
#include <gtest/gtest.h>

#include "e2e/terminal.h"

namespace {

using std::string;
using namespace std::string_literals;

// The listing's name is 300 characters long (through directories: no file system takes such a
// name): every file operation must use all of it, or it would reach another file.
TEST(Session, NumberingIsRepairedThroughTheDialogueAndTheBackupKeepsWhatWasTyped) {
  ScratchDirectory dir;
  const string name = string(120, 'a') + "/" + string(120, 'b') + "/" + string(54, 'c');
  std::filesystem::create_directories(dir.Path() / name);
  const string typed =
      "1 00112233445566778899 765\n2 00000000000000000001 1\n2  00 00 00 00 00 00 00 00 00 02  2\n"
      "short\n5 00000000000000000003 3";  // a repeated number, 4 missing, no last line end
  WriteFileBytes(dir.Path() / (name + ".txt"), typed);
  Terminal term({.arguments = {name + ".txt"}, .directory = dir.Path()});
  const string question = "   Introduce numero de linea correcto: ";
  ASSERT_TRUE(term.WaitForText(1, 9, question)) << term.ScreenDump();
  term.SendKeys("2\r");  // still not above line 2: asked again
  ASSERT_TRUE(term.WaitForText(1, 10, question));
  term.SendKeys("3\r");
  ASSERT_TRUE(term.WaitForText(1, 14, "   La linea \"4\" es una linea de ceros (S/N): "));
  term.SendKeys(string(KeyBytes::Down) + "yS");  // the first two ignored
  ASSERT_TRUE(term.WaitForText(1, 17, "Proceso del fichero de entrada finalizado."));
  term.SendKeys(" q");  // any key, then quit with the listing saved
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0);
  EXPECT_EQ(ReadFileBytes(dir.Path() / (name + ".bak")), typed + "\n");
  EXPECT_EQ(ReadFileBytes(dir.Path() / (name + ".txt")),
            "1 00112233445566778899 765\n2 00000000000000000001 1\n3 00000000000000000002 2\n"
            "4 00000000000000000000 0\n5 00000000000000000003 3\n");
}

// Files as typists write them, loaded without a question and saved with Q in stored form.
struct TypedFile {
  string typed, row10, saved;  // row 10: the first line in the editor
};
class Typed : public ::testing::TestWithParam<TypedFile> {};

TEST_P(Typed, LoadsWithoutAQuestionAndSavesInStoredForm) {
  const auto& [typed, row10, saved] = GetParam();
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "juego.txt", typed);
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(10), row10);
  EXPECT_EQ(term.Colour(10, 10), 15);  // the data are well formed
  term.SendKeys("q");
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"), saved);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.bak"), typed);
}

const string Row10 = "     1   06000E0076790F0F0FE6" + string(32, ' ') + "(534)";
INSTANTIATE_TEST_SUITE_P(
    Cases, Typed,
    ::testing::Values(TypedFile{"\t1\t06 00 0E 00 76\t79 0F 0F 0F E6\t534\t\n", Row10 + "   534",
                                "1 06000E0076790F0F0FE6 534\n"},
                      // A byte-order mark from a Windows editor: not saved, kept in the backup.
                      TypedFile{"\xEF\xBB\xBF"
                                "1 06000E0076790F0F0FE6 534\n",
                                Row10 + "   534", "1 06000E0076790F0F0FE6 534\n"},
                      // The checksum not typed: the digits are kept.
                      TypedFile{"1 06000E0076790F0F0FE6\n", Row10, "1 06000E0076790F0F0FE6 \n"}));

// One start on juego.txt: the loader's pause answered when it comes, the editor left with Q.
void StartAndQuit(const ScratchDirectory& dir, bool pause = false) {
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
  if (pause) {
    ASSERT_TRUE(term.WaitToShow("Pulsa una tecla.")) << term.ScreenDump();
    term.SendKeys(" ");
  }
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  term.SendKeys("q");
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0);
}

// Two lines typed as one lose digits to the data field's length when saved. The next start
// finds the listing as GRAVIX saved it and keeps the backup; an edit outside GRAVIX is backed
// up at the start after it.
TEST(Session, TheBackupOutlivesASaveThatLostTyping) {
  ScratchDirectory dir;
  const auto listing = dir.Path() / "juego.txt", backup = dir.Path() / "juego.bak";
  const string typed = "1 06000E0076790F0F0FE6 534 2 07D3FE0C10F43A485C0F 981\n";
  const string saved = "1 06000E0076790F0F0FE6534207D3FE0C10F43A48 981\n";
  WriteFileBytes(listing, typed);
  for (int start = 1; start <= 2; ++start) {
    StartAndQuit(dir);
    EXPECT_EQ(ReadFileBytes(listing), saved) << "start " << start;
    EXPECT_EQ(ReadFileBytes(backup), typed) << "start " << start;
  }
  const string edited = "1 06000E0076790F0F0FE6 534\n2 07 D3 FE 0C 10 F4 3A 48 5C 0F 981\n";
  WriteFileBytes(listing, edited);
  StartAndQuit(dir);
  EXPECT_EQ(ReadFileBytes(listing), "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n");
  EXPECT_EQ(ReadFileBytes(backup), edited);
}

// The table holds 5000 lines: Q saves those, and the next start keeps the whole typing.
TEST(Session, TheBackupOfAListingOverTheTableStaysWhole) {
  ScratchDirectory dir;
  string typed;
  for (int line = 1; line <= 5003; ++line)
    typed += std::to_string(line) + " 00000000000000000000 0\n";
  const string kept = typed.substr(0, typed.find("\n5001 ") + 1);
  WriteFileBytes(dir.Path() / "juego.txt", typed);
  StartAndQuit(dir, true);  // "Memoria llena" and its pause
  StartAndQuit(dir);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"), kept);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.bak"), typed);
}

// A wrong digit mended (row 10 changes colour), compiled with Enter before any save, then
// saved with S and left with X answered N.
TEST(Session, ACorrectedLineIsCompiledUnsavedThenSaved) {
  ScratchDirectory dir;
  const string typed =
      "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0E 981\n3 0F0FE607D3FEC9000000 933\n";
  WriteFileBytes(dir.Path() / "borde.txt", typed);
  Terminal term({.arguments = {"borde.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  term.SendKeys(string(KeyBytes::Down) + string(KeyBytes::End) + string(KeyBytes::Backspace));
  ASSERT_TRUE(term.WaitForText(62, 10, "(d)")) << term.ScreenDump();
  EXPECT_EQ(term.Colour(10, 10), 10);  // too short: light green
  term.SendKeys("f");
  ASSERT_TRUE(term.WaitForText(62, 10, "(981)")) << term.ScreenDump();
  EXPECT_EQ(term.Colour(10, 10), 15);

  term.SendKeys("\rborde\r65536\r32768\r25\r");  // the address out of range: asked again
  ASSERT_TRUE(term.WaitForText(32, 18, "Pulsa una tecla.")) << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(16), string(30, ' ') + "Archivo: borde.tap");
  EXPECT_EQ(term.TrimmedRow(17), "     Programa: \"borde     \"   #   Dump: 32768   #   Bytes: 25");
  term.SendKeys(" ");
  ASSERT_TRUE(term.WaitForText(1, 10, "     1   06000E0076790F0F0FE6")) << term.ScreenDump();
  // The data block: flag FF, the 25 bytes of the mended lines, their XOR.
  const string image = ReadFileBytes(dir.Path() / "borde.tap");
  EXPECT_EQ(image.size(), 25u + 25);
  EXPECT_EQ(image.substr(21, 29),
            string("\x1b\0\xFF\x06\x00\x0E\x00\x76\x79\x0F\x0F\x0F\xE6\x07\xD3\xFE"
                   "\x0C\x10\xF4\x3A\x48\x5C\x0F\x0F\x0F\xE6\x07\xD3\xC0",
                   29));
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.txt"), typed);
  term.SendKeys("s");
  ASSERT_TRUE(term.WaitForText(16, 17, "Los cambios han sido guardados. Pulsa una tecla."));
  const string saved = typed.substr(0, 48) + "F" + typed.substr(49);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.txt"), saved);
  term.SendKeys(" \x03n\r");  // Ctrl+C is X: not leaving without saving, saved again
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0);
  EXPECT_EQ(term.ScreenDump(), string(25, '\n'));  // the screen left clear
  EXPECT_TRUE(term.CursorVisible());
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.bak"), typed);
}

// A listing typed from scratch: Insert starts each line, a stray one goes before the compile,
// and Q creates the file. Nothing was there to back up.
TEST(Session, ANewListingIsTypedCompiledAndCreated) {
  ScratchDirectory dir;
  Terminal term({.arguments = {"--new", "nuevo.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(10), "");
  const string insert(KeyBytes::Insert);
  term.SendKeys(insert + "06000e0076790F0F0FE6\t534" + insert + "07D3FE0C10F43A485C0F\t981" +
                insert);
  ASSERT_TRUE(term.WaitForText(1, 9, "     2   07D3FE0C10F43A485C0F")) << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(10), "     3" + string(55, ' ') + "(d)");
  term.SendKeys("\rNUEVO\r32768\r");
  ASSERT_TRUE(term.WaitToShow("Numero de BYTES [0-20]:")) << term.ScreenDump();
  term.SendKeys("20\r");
  ASSERT_TRUE(term.WaitForText(32, 18, "Pulsa una tecla.")) << term.ScreenDump();
  EXPECT_EQ(ReadFileBytes(dir.Path() / "nuevo.tap").substr(24, 20),
            "\x06\x00\x0E\x00\x76\x79\x0F\x0F\x0F\xE6\x07\xD3\xFE\x0C\x10\xF4\x3A\x48\x5C\x0F"s);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "nuevo.txt"));
  term.SendKeys(" q");
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "nuevo.txt"),
            "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "nuevo.bak"));
}

// The loader's activity indicator changes frame for every stored line, but a frame the next
// one covers before the output is written never reaches the terminal.
TEST(Session, IndicatorFramesCoveredBeforeAWriteAreNotSent) {
  ScratchDirectory dir;
  string listing;
  for (int line = 1; line <= 2999; ++line)
    listing += std::to_string(line) + " 00000000000000000000 0\n";
  WriteFileBytes(dir.Path() / "juego.txt", listing + "3001 0000 0\n");  // 3000 missing
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitForText(1, 8, "   La linea \"3000\" es una linea de ceros (S/N): "))
      << term.ScreenDump();
  EXPECT_LT(term.RawOutput().size(), 2000u);  // two bytes a line would be 6000 by now
}

}  // namespace
