#include "dialogues/numbering_dialogue.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "banner/banner.h"
#include "console/console.h"
#include "console/memory/memory_console.h"
#include "platform/platform.h"
#include "platform/temp_dir.h"

namespace {

const std::string Data = " 00112233445566778899 765";  // after the number

std::vector<std::string> Numbered(int first, int last) {
  std::vector<std::string> lines;
  for (int n = first; n <= last; ++n) lines.push_back(std::to_string(n) + Data);
  return lines;
}

// The lines each followed by end: LF in a listing, this build's line end in the backup.
std::string Joined(const std::vector<std::string>& lines, std::string_view end = LineEnd()) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append(end);
  return text;
}

struct LoaderTest : testing::Test {
  MemoryConsole screen;
  LineTable table;
  TempDir dir;
  std::string listing = dir / "juego.txt";
  int first = LastColumnMovesCursorOn() ? 5 : 4;  // the row below the banner

  LoaderTest() { ShowBanner(); }

  void Load(const std::string& bytes, uint32_t seed = 1) {
    WriteBytes(listing, bytes);
    LoadListingOnScreen(listing, dir / "juego.bak", table, seed);
  }
  std::string Backup() const { return ReadBytes(dir / "juego.bak"); }
  std::string Stored() const {  // the table's lines, one per row
    std::string lines;
    for (int i = 1; i <= table.count; ++i) lines.append(LineText(table, i)).append("\n");
    return lines;
  }
  // The loader's rows from 0 ("" matches anything), then the pause: yellow, one key; and
  // the colours of some cells (column, row from 0, colour).
  void ExpectRows(const std::vector<std::string>& rows,
                  std::initializer_list<std::tuple<int, int, int>> cells) const {
    for (size_t k = 0; k < rows.size(); ++k)
      EXPECT_TRUE(rows[k].empty() || screen.TrimmedRow(first + int(k)) == rows[k])
          << "row " << k << ": " << screen.TrimmedRow(first + int(k));
    EXPECT_EQ(screen.TrimmedRow(first + int(rows.size())),
              "Proceso del fichero de entrada finalizado. Pulsa una tecla.");
    EXPECT_EQ(screen.Colour(1, first + int(rows.size())), Yellow);
    EXPECT_EQ(screen.KeysLeft(), 0u);
    for (auto [column, k, colour] : cells)
      EXPECT_EQ(screen.Colour(column, first + k), colour) << column << ", row " << k;
  }
};

// A line of six 64 KiB reads puts its CR last in one read and its LF first in the next, and
// is longer than any listing GRAVIX saves, so the old backup is replaced. Lower-case digits are
// read as capitals; the backup keeps them as typed.
TEST_F(LoaderTest, CleanFileIsStoredAsTypedAndBackedUpWholeWithoutAPause) {
  std::string wide = "1" + Data;
  wide.resize(6 * 64 * 1024 - 1, ' ');
  WriteBytes(dir / "juego.bak", "old backup\n");
  const std::string spaced = "  2   00 11 22 33 44 55 66 77 88 99   765  ";
  const std::string kept = "003 0011223344556677889a 9";
  Load(wide + "\r\n" + spaced + "\r" + kept + "\n", 2);  // no keys: no pause
  EXPECT_EQ(Backup(), Joined({wide, spaced, kept}));
  EXPECT_EQ(Stored(), Joined({"1" + Data, "2" + Data, "003 0011223344556677889A 9"}, "\n"));
  // The indicator's third frame from seed 2, gone once the load ends.
  EXPECT_NE(screen.Written().find(">\b"), std::string::npos);
  EXPECT_EQ(screen.TrimmedRow(first + 2), "");
}

// A listing just as GRAVIX saves it, on either platform, is its own copy: the backup from
// before stays. A carriage return alone, a byte-order mark or a last line without its end is
// not what a save writes. A backup that is a symbolic link is replaced, never written through.
TEST_F(LoaderTest, AnExistingBackupStaysWhileTheListingIsAsSaved) {
  const std::string saved = Joined(Numbered(1, 2)), mark = "\xEF\xBB\xBF";
  const std::pair<std::string, std::string> cases[] = {
      {Joined(Numbered(1, 2), "\n"), "old\n"},
      {Joined(Numbered(1, 2), "\r\n"), "old\n"},
      {Joined(Numbered(1, 2), "\r"), saved},
      {mark + saved, mark + saved},
      {saved.substr(0, saved.size() - LineEnd().size()), saved},  // no end after the last line
  };
  for (const auto& [typed, backup] : cases) {
    WriteBytes(dir / "juego.bak", "old\n");
    Load(typed);
    EXPECT_EQ(Backup(), backup);
    EXPECT_EQ(Stored(), Joined(Numbered(1, 2), "\n"));
    FreeLineTable(table);
  }
  namespace fs = std::filesystem;
  WriteBytes(dir / "otro.txt", "other\n");
  fs::remove(dir / "juego.bak");
  std::error_code noLinks;  // a file system without symbolic links has nothing to show here
  fs::create_symlink("otro.txt", dir / "juego.bak", noLinks);
  if (noLinks) return;
  Load(mark + saved);
  EXPECT_EQ(ReadBytes(dir / "otro.txt"), "other\n");
  EXPECT_FALSE(fs::is_symlink(dir / "juego.bak"));
  EXPECT_EQ(Backup(), mark + saved);
}

// A typist's slips, one question each at most: a line typed twice goes; a gap answered S puts in
// a zero line still to be typed (no checksum); a gap answered N renumbers, and the lines after
// that keep the offset follow without a question; a line cut by a stray line end is joined.
TEST_F(LoaderTest, SlipsAreMendedWithOneQuestionAtMost) {
  screen.Keys("x" + DeleteKey + "s" + "N" + " ");  // x and Delete (scan code 83) ignored
  Load(Joined({"1" + Data, "1" + Data, "3" + Data, "4" + Data, "7" + Data, "8 001122334455",
               "66778899 765", "9 aabbccddeeff00112233 1377"},
              "\n"));
  ExpectRows(
      {"", "", "    Linea 1 repetida: se quita la copia", "  Numero de linea encontrado: \"3\"",
       "  Numero de linea esperado: \"2\"", "   La linea \"2\" es una linea de ceros (S/N): s",
       "    Insertando linea \"2\" como linea de ceros", "", "",
       "   Lineas de ceros desde \"5\" hasta \"6\" (S/N): N", "    Renumerando linea \"7\" a \"5\"",
       "    Renumerando linea \"8\" a \"6\"",
       "    Linea 6 partida: se une con la siguiente linea del fichero",
       "    Renumerando linea \"9\" a \"7\"", ""},
      // clang-format off
             {{5, 2, LightCyan}, {3, 3, LightMagenta}, {30, 4, LightMagenta}, {4, 5, White},
              {46, 5, White}, {5, 6, LightCyan}, {5, 11, LightCyan}, {5, 12, LightCyan}});
  // clang-format on
  EXPECT_FALSE(screen.CursorVisible());
  EXPECT_EQ(Stored(), Joined({"1" + Data, "2 00000000000000000000 ", "3" + Data, "4" + Data,
                              "5" + Data, "6" + Data, "7 AABBCCDDEEFF00112233 1377"},
                             "\n"));
}

// Beyond 5000 lines the table is full: the rest goes to the backup only, the user is told what
// room is left for lines (none) and how many were loaded.
TEST_F(LoaderTest, AFullTableIsToldWithTheRoomLeft) {
  screen.Keys(" ");
  Load(Joined(Numbered(1, 5001), "\n"));
  // 80 characters: the Windows console's cursor moves on after the last column by itself.
  std::vector<std::string> rows = {
      "", "", "", "Memoria llena [0 bytes libres] o numero de lineas maximo [5000 lineas] excedido."};
  if (LastColumnMovesCursorOn()) rows.push_back("");
  rows.insert(rows.end(), {"Total de lineas procesadas: 5000", ""});
  ExpectRows(rows, {{1, 3, LightCyan}});
  EXPECT_EQ(table.count, 5000);
  EXPECT_EQ(Backup(), Joined(Numbered(1, 5001)));
}

// Empty Enter and 1 (too small) refused, the letter and a fifth digit ignored; the number keeps
// its zeros. A number question alone ends in the pause too.
TEST_F(LoaderTest, AnUnreadableNumberIsRetypedAndItsControlBytesShownHarmlessly) {
  screen.Keys("\r1\ra00023\r ");
  Load("1" + Data + "\n\x1b]2;T\x07 00\x1b[2J\x07 76\x1b\n");
  const std::string typed = "   Introduce numero de linea correcto: ";
  ExpectRows({"", "", "  Numero de linea encontrado incorrecto:", "    ?]2;T 00?[2J? 76?",
              "  Numero de linea esperado: 2", typed + "1", typed + "0002",
              "    Renumerando linea \"?]2;T\" a \"0002\"", ""},
             // clang-format off
             {{3, 2, LightGreen}, {5, 3, LightRed}, {9, 3, LightRed}, {11, 3, White},
              {28, 4, LightGreen}, {29, 4, LightRed}, {40, 5, White}, {5, 7, LightCyan}});
  // clang-format on
  EXPECT_EQ(Stored(), Joined({"1" + Data, "0002 00\x1b[2J\x07 76\x1b"}, "\n"));
}

}  // namespace
