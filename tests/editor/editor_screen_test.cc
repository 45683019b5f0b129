#include "editor/editor_screen.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "editor/editor.h"
#include "editor/test_listing.h"

namespace {

// The colours of a row's written (non-blank) cells from column from on, as runs of hex
// digits: "9*4 B*6 9*68".
std::string ColourRuns(const MemoryConsole& screen, int row, int from = 1) {
  std::string colours, runs;
  for (int column = from; column <= 80; ++column)
    if (screen.Text(column, row, 1) != " ")
      colours += "0123456789ABCDEF"[screen.Colour(column, row)];
  for (size_t start = 0, end; start < colours.size(); start = end) {
    end = std::min(colours.find_first_not_of(colours[start], start), colours.size());
    runs.append(start ? " " : "").append(1, colours[start]).append("*");
    runs += std::to_string(end - start);
  }
  return runs;
}

// Rows first to last: the listed ones with their text and colours, the others blank.
void ExpectRows(const MemoryConsole& screen, int first, int last,
                const std::vector<std::tuple<int, std::string, std::string>>& rows) {
  for (int row = first, k = 0; row <= last; ++row) {
    const bool listed = k < static_cast<int>(rows.size()) && std::get<0>(rows[k]) == row;
    EXPECT_EQ(screen.TrimmedRow(row), listed ? std::get<1>(rows[k]) : "") << "row " << row;
    EXPECT_EQ(ColourRuns(screen, row), listed ? std::get<2>(rows[k++]) : "") << "row " << row;
  }
}

// The key help's texts are fixed; what can go wrong is where they go and the byte 0xA6. H shows
// the second page over the first, and H again the first, the screen then as it was.
TEST(EditorScreen, LayoutWindowAndBothHelpPages) {
  MemoryConsole screen;
  TestListing listing({"1 00112233445566778899 765", "2 00000000000000000000 0", "33 0A 1"});
  DrawEditorScreen();
  RunKeys(screen, listing, "");
  const std::string rule = "         |------------------|", blank32(32, ' ');
  ExpectRows(screen, 4, 20,
             {{5, "---[ Editor ]" + std::string(67, '-'), "9*4 B*6 9*68"},
              {6, rule, "7*20"},
              {10, "     1   00112233445566778899" + blank32 + "(765)   765", "F*29"},
              {11, "     2   00000000000000000000" + blank32 + "(0)     0", "7*25"},
              {12, "    33   0A" + std::string(50, ' ') + "(d)     1", "7*8"},
              {14, rule, "7*20"},
              {15, "---[ Mensajes ]" + std::string(65, '-'), "9*4 B*8 9*66"},
              {19, "---[ Teclas ]" + std::string(67, '-'), "9*4 B*6 9*68"}});
  EXPECT_EQ(screen.TrimmedRow(25), std::string(25, ' ') + "H = Ver 2\xA6 pantalla de teclas");
  const std::string text = screen.TextDump(), colours = screen.ColourDump();
  RunKeys(screen, listing, "h");
  const std::string indent(21, ' ');
  ExpectRows(screen, 21, 25,
             {{21, indent + "Re Pag/Av Pag = Retroceder/avanzar 7 lineas", "F*37"},
              {22, indent + "Inicio/Fin = Ir a principio final del campo", "F*36"},
              {23, indent + "P = Pista: que digito arregla la suma   ESC = Cancelar", "F*42"},
              {24, indent + "INSERT = Nueva linea al final   CTRL+Y = Borrar linea", "F*42"},
              {25, std::string(25, ' ') + "H = Ver 1\xA6 pantalla de teclas", "F*23"}});
  EXPECT_EQ(screen.Scrolls(), 0);
  RunKeys(screen, listing, "hh");
  EXPECT_EQ(screen.TextDump(), text);
  EXPECT_EQ(screen.ColourDump(), colours);
}

TEST(EditorScreen, ScrollMarksAtTheWindowBoundaries) {
  MemoryConsole screen;
  TestListing listing(PatternLines(20, true));
  // The marks above and below the window, and the line numbers in its top and bottom rows.
  for (auto [current, marks, lines] : {std::tuple{4, "    vvvv", "     1     7"},
                                       {5, "^^^^vvvv", "     2     8"},
                                       {16, "^^^^vvvv", "    13    19"},
                                       {17, "^^^^    ", "    14    20"},
                                       {1, "    vvvv", "           4"}}) {  // rows 7-9 cleared
    DrawEditorPage(current, *listing.table);
    EXPECT_EQ(screen.Text(38, 6, 4) + screen.Text(38, 14, 4), marks) << current;
    EXPECT_EQ(screen.Text(1, 7, 6) + screen.Text(1, 13, 6), lines) << current;
  }
}

TEST(EditorScreen, FaultColoursAndLettersOfTheCurrentLineRow) {
  MemoryConsole screen;
  const std::string sum567 = "12 FFFF3900000000000000 ";  // 255 + 255 + 57
  // The row's tail, and the colours (A green, C red, F white, 9 blue) from the data field on.
  // clang-format off
  const struct { std::string line, tail, colours; } cases[] = {
      {"7 0123456789ABCDEF012 100", "(d)     100", "A*19 F*3 9*3"},
      {"7 01234G6789ABCDEF012 100", "(Cd)    100", "A*5 C*1 A*13 F*4 9*3"},
      {"7 0123456789ABCDEF01234 100", "(D)     100", "A*21 F*3 9*3"},
      {"7 G123456789ABCDEF012345 100", "(CD)    100", "C*1 A*21 F*4 9*3"},
      {"7 00112233445566778a99 100", "(C)     100", "F*17 C*1 F*5 9*3"},
      {sum567 + "567", "(567)   567", "F*28"}, {sum567 + "568", "(567)   568", "F*25 9*3"},
      {sum567 + "0a9", "(567)   0a9", "F*25 A*1 C*1 A*1"},
      {sum567 + "$1a", "(567)   $1a", "F*25 9*3"},
      {sum567 + "$237", "(567)   $237", "F*29"}, {sum567, "(567)", "F*25"},
      {"12 00000000000000000000 0", "(0)     0", "F*24"},
      {"12 000000000000000000000 -1", "(D)     -1", "A*21 F*3 9*2"}};  // -1 is no fault code
  // clang-format on
  for (const auto& c : cases) {
    DrawListingLine(10, c.line);
    EXPECT_EQ(screen.TrimmedRow(10).substr(61), c.tail) << c.line;
    EXPECT_EQ(ColourRuns(screen, 10, 10), c.colours) << c.line;
  }
  DrawListingLine(9, sum567 + "0a9");  // other rows stay grey whatever is wrong
  EXPECT_EQ(ColourRuns(screen, 9), "7*30");
}

}  // namespace
