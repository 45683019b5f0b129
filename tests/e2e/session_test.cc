// Whole sessions of the real program, driven by the keys a terminal sends.
#include <gtest/gtest.h>

#include <string>

#include "e2e/terminal.h"

namespace {

using std::string;

void ExpectNormalEnd(Terminal& term) {
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0);
  EXPECT_EQ(term.ScreenDump(), string(25, '\n'));
  EXPECT_TRUE(term.CursorVisible());
}

TEST(Session, NumberingIsRepairedThroughTheDialogueAndTheBackupKeepsWhatWasTyped) {
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "juego.txt",
                 "1 00112233445566778899 765\n2 00000000000000000001 1\r\n"
                 "2  00 00 00 00 00 00 00 00 00 02  2\nshort\n"  // a repeated number
                 "5 00000000000000000003 3");                    // 4 missing; no last line end
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitForText(1, 9, "   Introduce numero de linea correcto: "))
      << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(7), "    2 00000000000000000002 2");
  EXPECT_EQ(term.Colour(5, 7), 12);
  term.SendKeys("2\r");  // still not above line 2: asked again
  ASSERT_TRUE(term.WaitForText(1, 10, "   Introduce numero de linea correcto: "));
  term.SendKeys("3\r");
  ASSERT_TRUE(term.WaitForText(1, 14, "   La linea \"4\" es una linea de ceros (S/N): "))
      << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(11), "    Renumerando linea \"2\" a \"3\"");
  EXPECT_EQ(term.Colour(5, 11), 11);
  term.SendKeys(string(KeyBytes::Down) + "yS");  // the first two ignored
  ASSERT_TRUE(
      term.WaitForText(1, 17, "Proceso del fichero de entrada finalizado. Pulsa una tecla."))
      << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(15), "    Insertando linea \"4\" como linea de ceros");
  term.SendKeys(string(KeyBytes::Up) + string(KeyBytes::Up));  // any key, then to the last line
  ASSERT_TRUE(term.WaitForText(1, 10, "     5   00000000000000000003")) << term.ScreenDump();
  EXPECT_EQ(term.Text(1, 9, 29), "     4   00000000000000000000");
  EXPECT_EQ(term.Text(62, 9, 9), "(0)     0");
  term.SendKeys("q");
  ExpectNormalEnd(term);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.bak"),
            "1 00112233445566778899 765\n2 00000000000000000001 1\n"
            "2  00 00 00 00 00 00 00 00 00 02  2\nshort\n5 00000000000000000003 3\n");
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"),
            "1 00112233445566778899 765\n2 00000000000000000001 1\n3 00000000000000000002 2\n"
            "4 00000000000000000000 0\n5 00000000000000000003 3\n");
}

// The tape image a Spectrum loads: a code header and a data block, each with its XOR.
string ExpectedTape(const string& name, int address, const string& data) {
  auto word = [](size_t value) { return string{char(value & 0xFF), char(value >> 8)}; };
  auto block = [&](string bytes) {
    char sum = 0;
    for (char byte : bytes) sum ^= byte;
    return word(bytes.size() + 1) + bytes + sum;
  };
  return block(string(1, '\0') + '\3' + (name + string(10, ' ')).substr(0, 10) + word(data.size()) +
               word(static_cast<size_t>(address)) + word(32768)) +
         block("\xFF" + data);
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
  EXPECT_EQ(term.Colour(70, 10), 9);  // a number, not the sum
  term.SendKeys(string(KeyBytes::End) + string(KeyBytes::Backspace));
  ASSERT_TRUE(term.WaitForText(62, 10, "(d)"));
  EXPECT_EQ(term.Colour(10, 10), 10);  // too short: light green
  term.SendKeys("f");
  ASSERT_TRUE(term.WaitForText(62, 10, "(981)")) << term.ScreenDump();
  EXPECT_EQ(term.Colour(10, 10), 15);
  EXPECT_EQ(term.Colour(70, 10), 15);
  EXPECT_EQ(term.CursorColumn(), 30);

  term.SendKeys("\r");
  ASSERT_TRUE(term.WaitForText(25, 17, "Nombre del programa: ")) << term.ScreenDump();
  term.SendKeys("borde\r65536\r");  // the address out of range: asked again
  ASSERT_TRUE(term.WaitForText(22, 17, "Direccion del DUMP [0-65535]:  "));
  term.SendKeys("32768\r");
  ASSERT_TRUE(term.WaitForText(22, 17, "Numero de BYTES [0-30]: "));
  term.SendKeys("25\r");
  ASSERT_TRUE(term.WaitForText(32, 18, "Pulsa una tecla.")) << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(16), string(30, ' ') + "Archivo: borde.tap");
  EXPECT_EQ(term.Colour(31, 16), 14);
  EXPECT_EQ(term.TrimmedRow(17), "     Programa: \"borde     \"   #   Dump: 32768   #   Bytes: 25");
  term.SendKeys(" ");
  // Back on line 1, the message area cleared, the data field still active.
  ASSERT_TRUE(term.WaitForText(1, 10, "     1   06000E0076790F0F0FE6")) << term.ScreenDump();
  ASSERT_TRUE(term.WaitUntil([](const Terminal& t) { return t.TrimmedRow(16).empty(); }));
  EXPECT_EQ(term.CursorColumn(), 10);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.tap"),
            ExpectedTape("borde", 32768,
                         string("\x06\x00\x0E\x00\x76\x79\x0F\x0F\x0F\xE6", 10) +
                             "\x07\xD3\xFE\x0C\x10\xF4\x3A\x48\x5C\x0F\x0F\x0F\xE6\x07\xD3"));
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.txt"), typed);

  term.SendKeys("s");
  ASSERT_TRUE(term.WaitForText(16, 17, "Los cambios han sido guardados. Pulsa una tecla."));
  term.SendKeys(" x");
  ASSERT_TRUE(term.WaitForText(23, 17, "Salir SIN guardar cambios (S/N): ")) << term.ScreenDump();
  term.SendKeys("n");
  ASSERT_TRUE(term.WaitForText(16, 17, "Los cambios han sido guardados. Pulsa una tecla."));
  term.SendKeys("\r");
  ExpectNormalEnd(term);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.txt"),
            "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n3 0F0FE607D3FEC9000000 933\n");
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.bak"), typed);
}

}  // namespace
