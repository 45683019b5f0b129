// Whole sessions of the real program, driven by the keys a terminal sends: repairing the
// numbering while loading, correcting a line in the editor, compiling a tape image.
#include <gtest/gtest.h>

#include <string>

#include "e2e/terminal.h"

namespace {

constexpr std::string_view EditorTitle = "---[ Editor ]";

void SaveWithoutLeaving(Terminal& term) {
  term.SendKeys("s");
  ASSERT_TRUE(term.WaitForText(16, 17, "Los cambios han sido guardados. Pulsa una tecla."))
      << term.ScreenDump();
  term.SendKeys(" ");
  ASSERT_TRUE(term.WaitUntil([](const Terminal& t) { return t.TrimmedRow(17).empty(); }));
}

void ExpectNormalEnd(Terminal& term) {
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0);
  EXPECT_EQ(term.ScreenDump(), std::string(25, '\n'));
  EXPECT_TRUE(term.CursorVisible());
}

TEST(Session, NumberingIsRepairedThroughTheDialogueAndTheBackupKeepsWhatWasTyped) {
  ScratchDirectory dir;
  const std::string typed =
      "1 00112233445566778899 765\n"
      "2 00000000000000000001 1\r\n"
      "2  00 00 00 00 00 00 00 00 00 02  2\n"  // a repeated number
      "short\n"
      "5 00000000000000000003 3";              // 4 is missing; no line end at the end
  WriteFileBytes(dir.Path() / "juego.txt", typed);
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.Started()) << term.StartError();

  ASSERT_TRUE(term.WaitForText(1, 9, "   Introduce numero de linea correcto: ")) << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(6), "  Numero de linea encontrado incorrecto:");
  EXPECT_EQ(term.TrimmedRow(7), "    2 00000000000000000002 2");
  EXPECT_EQ(term.Colour(5, 7), 12);
  EXPECT_EQ(term.Colour(7, 7), 15);
  EXPECT_EQ(term.TrimmedRow(8), "  Numero de linea esperado: 3");
  term.SendKeys("2\r");  // still not above line 2: asked again
  ASSERT_TRUE(term.WaitForText(1, 10, "   Introduce numero de linea correcto: "));
  term.SendKeys("3\r");
  ASSERT_TRUE(term.WaitForText(1, 14, "   La linea \"4\" es una linea de ceros (S/N): "))
      << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(11), "    Renumerando linea \"2\" a \"3\"");
  EXPECT_EQ(term.Colour(5, 11), 11);
  EXPECT_EQ(term.TrimmedRow(12), "  Numero de linea encontrado: \"5\"");
  EXPECT_EQ(term.Colour(3, 12), 13);
  EXPECT_EQ(term.TrimmedRow(13), "  Numero de linea esperado: \"4\"");
  term.SendKeys(std::string(KeyBytes::Down) + "y");  // ignored
  term.SendKeys("S");
  ASSERT_TRUE(term.WaitForText(1, 17, "Proceso del fichero de entrada finalizado. Pulsa una tecla."))
      << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(14), "   La linea \"4\" es una linea de ceros (S/N): S");
  EXPECT_EQ(term.TrimmedRow(15), "    Insertando linea \"4\" como linea de ceros");
  term.SendKeys(std::string(KeyBytes::Up));  // any key, an extended one too
  ASSERT_TRUE(term.WaitForText(1, 5, EditorTitle)) << term.ScreenDump();

  // Line 5 is last: Up from line 1 shows it, with line 4 the inserted zero line above it.
  term.SendKeys(std::string(KeyBytes::Up));
  ASSERT_TRUE(term.WaitForText(1, 10, "     5   00000000000000000003")) << term.ScreenDump();
  EXPECT_EQ(term.Text(1, 9, 29), "     4   00000000000000000000");
  EXPECT_EQ(term.Text(62, 9, 9), "(0)     0");
  EXPECT_EQ(term.Text(1, 8, 29), "     3   00000000000000000002");
  EXPECT_EQ(term.Text(62, 8, 9), "(2)     2");
  term.SendKeys("q");
  ExpectNormalEnd(term);

  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.bak"),
            "1 00112233445566778899 765\n2 00000000000000000001 1\n"
            "2  00 00 00 00 00 00 00 00 00 02  2\nshort\n5 00000000000000000003 3\n");
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"),
            "1 00112233445566778899 765\n2 00000000000000000001 1\n3 00000000000000000002 2\n"
            "4 00000000000000000000 0\n5 00000000000000000003 3\n");
}

TEST(Session, ACorrectedDigitTurnsTheLineRightAndIsSaved) {
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "borde.txt",
                 "1 06000E0076790F0F0FE6 534\n"
                 "2 07D3FE0C10F43A485C0E 981\n"  // the last digit typed wrong: sum 980
                 "3 0F0FE607D3FEC9000000 933\n");
  Terminal term({.arguments = {"borde.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitForText(1, 5, EditorTitle)) << term.ScreenDump();
  term.SendKeys(std::string(KeyBytes::Down));
  ASSERT_TRUE(term.WaitForText(1, 10, "     2   07D3FE0C10F43A485C0E")) << term.ScreenDump();
  EXPECT_EQ(term.Text(62, 10, 5), "(980)");
  EXPECT_EQ(term.Colour(70, 10), 9);  // a number, not the sum

  term.SendKeys(std::string(KeyBytes::End) + std::string(KeyBytes::Backspace));
  ASSERT_TRUE(term.WaitForText(62, 10, "(d)"));
  EXPECT_EQ(term.Colour(10, 10), 10);  // too short: light green
  term.SendKeys("f");
  ASSERT_TRUE(term.WaitForText(62, 10, "(981)")) << term.ScreenDump();
  EXPECT_EQ(term.Text(10, 10, 20), "07D3FE0C10F43A485C0F");
  EXPECT_EQ(term.Colour(10, 10), 15);
  EXPECT_EQ(term.Colour(70, 10), 15);
  EXPECT_EQ(term.CursorColumn(), 30);

  SaveWithoutLeaving(term);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.txt"),
            "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n3 0F0FE607D3FEC9000000 933\n");
  term.SendKeys("x");
  ASSERT_TRUE(term.WaitForText(23, 17, "Salir SIN guardar cambios (S/N): "));
  term.SendKeys("n");
  ASSERT_TRUE(term.WaitForText(16, 17, "Los cambios han sido guardados. Pulsa una tecla."));
  term.SendKeys("\r");
  ExpectNormalEnd(term);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.bak"),
            "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0E 981\n3 0F0FE607D3FEC9000000 933\n");
}

// The tape image a Spectrum loads: a code header and a data block, each with its XOR.
std::string ExpectedTape(const std::string& name, int address, const std::string& data) {
  auto word = [](int value) { return std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)}; };
  auto withChecksum = [](std::string block) {
    char sum = 0;
    for (char byte : block) sum ^= byte;
    return block + sum;
  };
  std::string header = std::string(1, '\0') + '\3' + (name + std::string(10, ' ')).substr(0, 10) +
                       word(static_cast<int>(data.size())) + word(address) + word(32768);
  return word(19) + withChecksum(header) + word(static_cast<int>(data.size()) + 2) +
         withChecksum("\xFF" + data);
}

TEST(Session, EnterCompilesTheLineUnderEditWithoutSavingIt) {
  ScratchDirectory dir;
  const std::string listing =
      "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n3 0F0FE607D3FEC9000000 933\n";
  WriteFileBytes(dir.Path() / "borde.txt", listing);
  Terminal term({.arguments = {"borde.txt"}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitForText(1, 5, EditorTitle)) << term.ScreenDump();

  // Line 3's last byte becomes 01 and its checksum 934, then Enter straight away.
  term.SendKeys(std::string(KeyBytes::Up) + std::string(KeyBytes::End) +
                std::string(KeyBytes::Backspace) + "1" + std::string(KeyBytes::Tab) +
                std::string(KeyBytes::End) + std::string(KeyBytes::Backspace) + "4");
  ASSERT_TRUE(term.WaitForText(70, 10, "934")) << term.ScreenDump();
  EXPECT_EQ(term.Colour(70, 10), 15);
  term.SendKeys("\r");
  ASSERT_TRUE(term.WaitForText(25, 17, "Nombre del programa: ")) << term.ScreenDump();
  EXPECT_TRUE(term.CursorVisible());
  term.SendKeys("borde\r");
  ASSERT_TRUE(term.WaitForText(22, 17, "Direccion del DUMP [0-65535]: "));
  term.SendKeys("65536\r");  // out of range: asked again
  ASSERT_TRUE(term.WaitForText(22, 17, "Direccion del DUMP [0-65535]:  "));
  term.SendKeys("32768\r");
  ASSERT_TRUE(term.WaitForText(22, 17, "Numero de BYTES [0-30]: "));
  term.SendKeys("30\r");
  ASSERT_TRUE(term.WaitForText(32, 18, "Pulsa una tecla.")) << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(16), std::string(30, ' ') + "Archivo: borde.tap");
  EXPECT_EQ(term.TrimmedRow(17),
            "     Programa: \"borde     \"   #   Dump: 32768   #   Bytes: 30");
  EXPECT_EQ(term.Colour(31, 16), 14);
  term.SendKeys(" ");
  // Back on line 1, the message area cleared, the checksum field still active.
  ASSERT_TRUE(term.WaitForText(1, 10, "     1   06000E0076790F0F0FE6")) << term.ScreenDump();
  ASSERT_TRUE(term.WaitUntil([](const Terminal& t) { return t.TrimmedRow(16).empty(); }));
  EXPECT_EQ(term.TrimmedRow(17), "");
  EXPECT_EQ(term.CursorColumn(), 70);

  const std::string data = std::string("\x06\x00\x0E\x00\x76\x79\x0F\x0F\x0F\xE6", 10) +
                           "\x07\xD3\xFE\x0C\x10\xF4\x3A\x48\x5C\x0F" +
                           std::string("\x0F\x0F\xE6\x07\xD3\xFE\xC9\x00\x00\x01", 10);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.tap"), ExpectedTape("borde", 32768, data));

  term.SendKeys("xs");
  ExpectNormalEnd(term);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "borde.txt"), listing);
}

}  // namespace
