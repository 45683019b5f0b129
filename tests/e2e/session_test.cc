// Whole sessions of the real program, driven by the keys a terminal sends.
#include <gtest/gtest.h>

#include "e2e/terminal.h"

namespace {

using std::string;

// The listing's name is 300 characters long (through directories: no file system takes such a
// name): every file operation must use all of it, or it would reach another file.
TEST(Session, NumberingIsRepairedThroughTheDialogueAndTheBackupKeepsWhatWasTyped) {
  ScratchDirectory dir;
  const string folder = string(120, 'a') + "/" + string(120, 'b') + "/" + string(54, 'c');
  std::filesystem::create_directories(dir.Path() / folder);
  WriteFileBytes(dir.Path() / (folder + ".txt"),
                 "1 00112233445566778899 765\n2 00000000000000000001 1\r\n"
                 "2  00 00 00 00 00 00 00 00 00 02  2\nshort\n"  // a repeated number
                 "5 00000000000000000003 3");                    // 4 missing; no last line end
  Terminal term({.arguments = {folder + ".txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitForText(1, 9, "   Introduce numero de linea correcto: "))
      << term.ScreenDump();
  EXPECT_EQ(term.Colour(5, 7), 12);  // the wrong number in light red
  term.SendKeys("2\r");              // still not above line 2: asked again
  ASSERT_TRUE(term.WaitForText(1, 10, "   Introduce numero de linea correcto: "));
  term.SendKeys("3\r");
  ASSERT_TRUE(term.WaitForText(1, 14, "   La linea \"4\" es una linea de ceros (S/N): "))
      << term.ScreenDump();
  term.SendKeys(string(KeyBytes::Down) + "yS");  // the first two ignored
  ASSERT_TRUE(term.WaitForText(1, 17, "Proceso del fichero de entrada finalizado."))
      << term.ScreenDump();
  term.SendKeys(string(KeyBytes::Up) + string(KeyBytes::Up));  // any key, then the last line
  ASSERT_TRUE(term.WaitForText(1, 9, "     4   00000000000000000000     ")) << term.ScreenDump();
  term.SendKeys("q");
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0);
  EXPECT_EQ(ReadFileBytes(dir.Path() / (folder + ".bak")),
            "1 00112233445566778899 765\n2 00000000000000000001 1\n"
            "2  00 00 00 00 00 00 00 00 00 02  2\nshort\n5 00000000000000000003 3\n");
  EXPECT_EQ(ReadFileBytes(dir.Path() / (folder + ".txt")),
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
  term.SendKeys(string(KeyBytes::Down));
  ASSERT_TRUE(term.WaitForText(62, 10, "(980)")) << term.ScreenDump();
  term.SendKeys(string(KeyBytes::End) + string(KeyBytes::Backspace));
  ASSERT_TRUE(term.WaitForText(62, 10, "(d)"));
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
  // A code header (flag 0, type 3, name, length, address, 32768) and a data block (flag FF),
  // each with its length before and its XOR after.
  auto block = [](const string& bytes) {
    char sum = 0;
    for (char byte : bytes) sum ^= byte;
    return string{static_cast<char>(bytes.size() + 1), 0} + bytes + sum;
  };
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.tap"),
            block(string("\0\3borde     \x19\0\0\x80\0\x80", 18)) +
                block(string("\xFF\x06\x00\x0E\x00\x76\x79\x0F\x0F\x0F\xE6", 11) +
                      "\x07\xD3\xFE\x0C\x10\xF4\x3A\x48\x5C\x0F\x0F\x0F\xE6\x07\xD3"));
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.txt"), typed);

  term.SendKeys("s");
  ASSERT_TRUE(term.WaitForText(16, 17, "Los cambios han sido guardados. Pulsa una tecla."));
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.txt"),
            "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n3 0F0FE607D3FEC9000000 933\n");
  term.SendKeys(" xn\r");  // not leaving without saving: saved again
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0);
  EXPECT_EQ(term.ScreenDump(), string(25, '\n'));  // the screen left clear
  EXPECT_TRUE(term.CursorVisible());
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.bak"), typed);
}

}  // namespace
