// Whole sessions of the real program, driven by the keys a terminal sends.
#include <gtest/gtest.h>

#include "e2e/terminal.h"

namespace {

using std::string;

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
