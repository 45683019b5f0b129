#include "editor/editor_screen.h"

#include <gtest/gtest.h>

#include <string>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "editor/test_listing.h"

namespace {

const std::string FirstPage[] = {
    "  Cursor izda./decha = Mover caracter izda./decha.   #   TAB = Alternar campos",
    "     Cursor arriba/abajo = Ir a linea ant./sgte.     #   0-9, A-F = Datos",
    "  DELETE, SUPR = Borrar   #     G = Ir a linea       #   X = Salir sin guardar",
    "    S = Guardar cambios   #   ENTER = Compilar TAP   #   Q = Salir",
    std::string(25, ' ') + "H = Ver 2\xA6 pantalla de teclas",
};

TEST(EditorScreen, FixedLayoutAndBothHelpPages) {
  MemoryConsole screen;
  DrawEditorScreen();
  EXPECT_EQ(screen.TrimmedRow(1), "               GRAVIX v0.5a");
  EXPECT_EQ(screen.TrimmedRow(4), "");
  EXPECT_EQ(screen.Row(5), "---[ Editor ]" + std::string(67, '-'));
  EXPECT_EQ(screen.Row(15), "---[ Mensajes ]" + std::string(65, '-'));
  EXPECT_EQ(screen.Row(19), "---[ Teclas ]" + std::string(67, '-'));
  for (int row : {5, 15, 19}) {
    EXPECT_EQ(screen.Colour(1, row), LightBlue);
    EXPECT_EQ(screen.Colour(5, row), LightBlue);
    EXPECT_EQ(screen.Colour(6, row), LightCyan);
    EXPECT_EQ(screen.Colour(80, row), LightBlue);
  }
  EXPECT_EQ(screen.Colour(13, 15), LightCyan);  // the last s of Mensajes
  EXPECT_EQ(screen.Colour(14, 15), LightBlue);
  EXPECT_EQ(screen.TrimmedRow(20), "");
  for (int row = 21; row <= 25; ++row) {
    EXPECT_EQ(screen.TrimmedRow(row), FirstPage[row - 21]) << "row " << row;
    EXPECT_EQ(screen.Colour(3, row), White);
  }
  EXPECT_EQ(screen.Text(35, 25, 1), "\xA6");
  EXPECT_EQ(screen.Colour(35, 25), White);

  const std::string text = screen.TextDump(), colours = screen.ColourDump();
  screen.ForgetWrites();
  DrawKeyHelp(false);
  EXPECT_EQ(screen.RowsWritten(), (std::set<int>{21, 22, 23, 24, 25}));
  EXPECT_NE(screen.Written().back(), '\n');  // row 25 is never followed by a line end
  EXPECT_EQ(screen.Row(21), std::string(21, ' ') + "Re Pag/Av Pag = Retroceder/avanzar 7 lineas" +
                                std::string(16, ' '));
  EXPECT_EQ(screen.TrimmedRow(22),
            std::string(21, ' ') + "Inicio/Fin = Ir a principio final del campo");
  EXPECT_EQ(screen.TrimmedRow(23), "");
  EXPECT_EQ(screen.TrimmedRow(24), "");
  EXPECT_EQ(screen.TrimmedRow(25), std::string(25, ' ') + "H = Ver 1\xA6 pantalla de teclas");
  EXPECT_EQ(screen.TrimmedRow(1), "               GRAVIX v0.5a");  // nothing scrolled

  DrawKeyHelp(true);
  EXPECT_EQ(screen.TextDump(), text);
  EXPECT_EQ(screen.ColourDump(), colours);
}

TEST(EditorScreen, WindowAroundTheFirstOfThreeLines) {
  MemoryConsole screen;
  TestListing listing({"1 00112233445566778899 765", "2 00000000000000000000 0", "33 0A 1"});
  DrawEditorPage(1, listing.Count(), *listing.table);
  for (int row : {7, 8, 9, 13}) EXPECT_EQ(screen.TrimmedRow(row), "") << "row " << row;
  EXPECT_EQ(screen.Row(10).substr(0, 29), "     1   00112233445566778899");
  EXPECT_EQ(screen.Text(62, 10, 5), "(765)");
  EXPECT_EQ(screen.TrimmedRow(10).substr(69), "765");
  EXPECT_EQ(screen.TrimmedRow(11), "     2   00000000000000000000" + std::string(32, ' ') + "(0)" +
                                       std::string(5, ' ') + "0");
  EXPECT_EQ(screen.TrimmedRow(12), "    33   0A" + std::string(50, ' ') + "(d)     1");
  // Away from row 10 every item is light grey, the fault letters included.
  for (int column : {6, 10, 62, 63, 70}) EXPECT_EQ(screen.Colour(column, 12), LightGrey);
  for (int column : {6, 10, 62, 70}) EXPECT_EQ(screen.Colour(column, 10), White);
  EXPECT_EQ(screen.Row(6), std::string(9, ' ') + "|------------------|" + std::string(51, ' '));
  EXPECT_EQ(screen.Row(14), screen.Row(6));
  EXPECT_EQ(screen.Colour(10, 6), LightGrey);
  EXPECT_EQ(screen.Colour(29, 14), LightGrey);
}

TEST(EditorScreen, ScrollMarksAtTheWindowBoundaries) {
  MemoryConsole screen;
  TestListing listing(ZeroLines(20));
  auto marks = [&](int16_t current) {
    DrawEditorPage(current, listing.Count(), *listing.table);
    return screen.Text(30, 6, 12) + "/" + screen.Text(30, 14, 12);
  };
  const std::string none(12, ' '), up = "        ^^^^", down = "        vvvv";
  EXPECT_EQ(marks(4), none + "/" + down);
  EXPECT_EQ(screen.TrimmedRow(7).substr(0, 6), "     1");
  EXPECT_EQ(marks(5), up + "/" + down);
  EXPECT_EQ(screen.TrimmedRow(7).substr(0, 6), "     2");
  EXPECT_EQ(marks(16), up + "/" + down);
  EXPECT_EQ(marks(17), up + "/" + none);
  EXPECT_EQ(screen.TrimmedRow(13).substr(0, 6), "    20");
  EXPECT_EQ(screen.Colour(38, 6), LightGrey);
}

// Colours of the data cells of row 10 as hex digits, and the computed checksum column.
std::string DataColours(const MemoryConsole& screen, int length) {
  std::string colours;
  for (int column = 10; column < 10 + length; ++column)
    colours.push_back("0123456789ABCDEF"[screen.Colour(column, 10)]);
  return colours;
}

TEST(EditorScreen, DataFaultsOnTheCurrentLineRow) {
  MemoryConsole screen;
  DrawListingLine(10, "7 0123456789ABCDEF012 100");
  EXPECT_EQ(DataColours(screen, 19), std::string(19, 'A'));
  EXPECT_EQ(screen.Text(62, 10, 4), "(d) ");
  DrawListingLine(10, "7 01234G6789ABCDEF012 100");
  EXPECT_EQ(DataColours(screen, 19), "AAAAACAAAAAAAAAAAAA");
  EXPECT_EQ(screen.Text(62, 10, 5), "(Cd) ");
  DrawListingLine(10, "7 0123456789ABCDEF01234 100");
  EXPECT_EQ(DataColours(screen, 21), std::string(21, 'A'));
  EXPECT_EQ(screen.Text(62, 10, 4), "(D) ");
  DrawListingLine(10, "7 G123456789ABCDEF012345 100");
  EXPECT_EQ(DataColours(screen, 22), std::string("C").append(21, 'A'));
  EXPECT_EQ(screen.Text(62, 10, 5), "(CD) ");
  // Twenty characters: only the bad ones stand out; lower case is bad.
  DrawListingLine(10, "7 00112233445566778a99 100");
  EXPECT_EQ(DataColours(screen, 20), "FFFFFFFFFFFFFFFFFCFF");
  EXPECT_EQ(screen.Text(62, 10, 4), "(C) ");
  EXPECT_EQ(screen.Colour(63, 10), White);
  // Control bytes from the file are shown as "?", still marked as bad characters.
  DrawListingLine(10, std::string("7 0011223344556677\x1b"
                                  "899 100"));
  EXPECT_EQ(screen.Text(10, 10, 20), "0011223344556677?899");
  EXPECT_EQ(screen.Colour(26, 10), LightRed);
}

TEST(EditorScreen, ChecksumFieldColours) {
  MemoryConsole screen;
  const std::string sum567 = "12 FFFF3900000000000000 ";  // 255 + 255 + 57
  DrawListingLine(10, sum567 + "567");
  EXPECT_EQ(screen.Text(62, 10, 5), "(567)");
  EXPECT_EQ(screen.Text(70, 10, 4), "567 ");
  EXPECT_EQ(screen.Colour(70, 10), White);
  DrawListingLine(10, sum567 + "568");
  EXPECT_EQ(screen.Colour(70, 10), LightBlue);
  EXPECT_EQ(screen.Colour(72, 10), LightBlue);
  DrawListingLine(10, sum567 + "5a7");
  EXPECT_EQ(screen.Text(70, 10, 3), "5a7");
  EXPECT_EQ(screen.Colour(70, 10), LightGreen);
  EXPECT_EQ(screen.Colour(71, 10), LightRed);
  EXPECT_EQ(screen.Colour(72, 10), LightGreen);
  DrawListingLine(10, sum567);
  EXPECT_EQ(screen.Row(10).substr(67), std::string(13, ' '));
  // A checksum -1 is no match for the fault code of a too long data field.
  DrawListingLine(10, "12 000000000000000000000 -1");
  EXPECT_EQ(screen.Colour(70, 10), LightBlue);
  // Rows other than 10 stay light grey whatever is wrong.
  DrawListingLine(9, sum567 + "5a7");
  EXPECT_EQ(screen.Colour(71, 9), LightGrey);
  EXPECT_EQ(screen.Text(62, 9, 5), "(567)");
}

}  // namespace
