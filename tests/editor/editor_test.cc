#include "editor/editor.h"

#include <gtest/gtest.h>

#include <string>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "editor/test_listing.h"
#include "platform/platform.h"
#include "platform/temp_dir.h"

namespace {

// Page Down arrives as the code of Q and never leaves the editor; G asks until the answer fits,
// four digits at most.
TEST(EditorKeys, LineChangesAndCursorColumnsOnATwentyLineListing) {
  // clang-format off
  const struct { std::string keys; int line, column; } cases[] = {
      {"", 1, 10}, {UpKey, 20, 10}, {UpKey + DownKey, 1, 10}, {DownKey + DownKey, 3, 10},
      {"g13\r" + PageDownKey, 20, 10}, {"g14\r" + PageDownKey, 1, 10},
      {"g8\r" + PageUpKey, 1, 10}, {"g7\r" + PageUpKey, 20, 10},
      {PageDownKey + PageDownKey, 15, 10}, {PageDownKey + PageDownKey + PageDownKey, 1, 10},
      {"\t", 1, 70}, {"\t" + EndKey, 1, 71}, {"\t" + EndKey + DownKey, 2, 70},
      {"\t" + DownKey + "\t", 2, 10}, {EndKey, 1, 30}, {EndKey + RightKey + LeftKey, 1, 29},
      {LeftKey + RightKey + RightKey, 1, 12}, {EndKey + HomeKey, 1, 10},
      {"G0\r21\r00057\r", 5, 10}};
  // clang-format on
  for (const auto& c : cases) {
    MemoryConsole screen;
    TestListing listing(PatternLines(20, true));
    EXPECT_FALSE(RunKeys(screen, listing, c.keys));
    EXPECT_EQ(std::stoi(screen.Text(1, 10, 6)), c.line) << c.keys;
    EXPECT_EQ(screen.CursorColumn(), c.column) << c.keys;
    EXPECT_TRUE(screen.CursorVisible() && screen.TrimmedRow(17).empty()) << c.keys;
  }
}

// Edits reach the table when the line changes, within the field limits of 43 and 10.
TEST(EditorKeys, EditingAtFieldEndsAndLimits) {
  const std::string full = "3 " + std::string(43, 'A') + " 1234567890";
  // clang-format off
  const struct { std::string keys; int line; std::string stored; } cases[] = {
      {EndKey + "a", 1, "1 00112233445566778899 765"},  // nothing stored before a line change
      {DeleteKey + "f\t" + DeleteKey + DeleteKey + DeleteKey + "1005zy" + DownKey, 1,
       "1 F0112233445566778899 1005"},
      {UpKey + "0" + EndKey + "0\t5" + EndKey + "7\t" + UpKey, 3, full},
      {DownKey + EndKey + DeleteKey + HomeKey + "\b\t" + DeleteKey + "\bAc3" + UpKey, 2, "2 0 3"},
      {UpKey + RightKey + RightKey + "\b\b\b" + UpKey, 3, "3 " + full.substr(4)}};
  // clang-format on
  for (const auto& c : cases) {
    MemoryConsole screen;
    TestListing listing({"1 00112233445566778899 765", "2 0 ", full});
    RunKeys(screen, listing, c.keys);
    EXPECT_EQ(LineText(*listing.table, c.line), c.stored) << c.keys;
  }
}

// P writes a hint for the line as shown into row 17, which the next key clears before its own
// work; the line, the cursor and the field stay. Down arrives as the code of P and hints nothing.
TEST(EditorKeys, HintForTheLineAsShown) {
  const std::string hint = "  Pista: posicion 19: E en vez de F; posicion 9: 6 en vez de 7";
  // clang-format off
  const struct { std::string keys, row17; int column; } cases[] = {
      {"p", hint, 10}, {"\t" + EndKey + "P", hint, 73}, {"p" + RightKey, "", 11},
      {"0p", "  Pista: hacen falta 20 digitos hexadecimales y una suma", 11}, {DownKey, "", 10},
      {"pp", hint, 10}, {"pg", std::string(27, ' ') + "Ir a linea [1-2]:", 46},
      {"g", std::string(27, ' ') + "Ir a linea [1-2]:", 46}};
  // clang-format on
  for (const auto& c : cases) {
    MemoryConsole screen;
    TestListing listing({"1 06000E0076790F0F0FF6 534", "2 00000000000000000000 0"});
    EXPECT_FALSE(RunKeys(screen, listing, c.keys));
    EXPECT_EQ(screen.TrimmedRow(17), c.row17) << c.keys;
    EXPECT_EQ(screen.CursorVisible() ? screen.CursorColumn() : 0, c.column) << c.keys;
    EXPECT_TRUE(c.row17.empty() || screen.Colour(int(c.row17.size()), 17) == Yellow) << c.keys;
    EXPECT_EQ(LineText(*listing.table, 1), "1 06000E0076790F0F0FF6 534") << c.keys;
  }
}

// Insert appends an empty line and makes it current in the data field; left empty, it goes
// again when the line changes or the listing is compiled, and a full table refuses it.
TEST(EditorKeys, InsertAppendsALineThatGoesAgainWhenLeftEmpty) {
  const std::string insert = InsertKey;
  // clang-format off
  const struct { int lines; std::string keys; int count, current, column; std::string last; } cases[] = {
      {0, insert, 1, 1, 10, "1  "}, {0, insert + "a\t5", 1, 1, 71, "1  "},
      {0, insert + "a" + UpKey, 1, 1, 10, "1 A "}, {0, insert + "a" + insert + UpKey, 1, 1, 10, "1 A "},
      {3, "\t" + insert, 4, 4, 10, "4  "}, {3, insert + insert, 4, 4, 10, "4  "},
      {3, insert + "7" + DownKey + insert, 5, 5, 10, "5  "},
      {3, insert + UpKey, 3, 3, 10, "3 00000000000000000000 0"},
      {20, insert + PageUpKey, 20, 14, 10, "20 00000000000000000000 0"},
      {3, insert + "g2\r", 3, 2, 10, "3 00000000000000000000 0"},
      {3, insert + "\r", 3, 4, 46, "3 00000000000000000000 0"},  // asking the name
      {3, insert + "7" + UpKey + DownKey + EndKey + "\b" + UpKey, 4, 3, 10, "4  "},  // was typed
      {5000, "\t" + insert, 5000, 1, 70, "5000 00000000000000000000 0"}};
  // clang-format on
  for (const auto& c : cases) {
    MemoryConsole screen;
    TestListing listing(PatternLines(c.lines, true));
    EXPECT_FALSE(RunKeys(screen, listing, c.keys));
    EXPECT_EQ(listing.Count(), c.count) << c.keys;
    EXPECT_EQ(std::stoi(screen.Text(1, 10, 6)), c.current) << c.keys;
    EXPECT_EQ(screen.CursorVisible() ? screen.CursorColumn() : 0, c.column) << c.keys;
    EXPECT_EQ(LineText(*listing.table, c.count), c.last) << c.keys;
  }
}

// S saves and goes on after the notice; X asks and takes only S or N (Delete arrives as the
// code of S). An empty listing ignores moves, edits and G, and is never written.
TEST(EditorSaving, SaveAndQuitWithoutSaving) {
  const std::string before = "1 00 11 22 33 44 55 66 77 88 99 765\r\n3 1 0\r\n", end(LineEnd());
  const std::string saved =
      "1 00112233445566778899 765" + end + "2 700000000000000000000 0" + end + "3 1 0" + end;
  const std::string notice =
      std::string(15, ' ') + "Los cambios han sido guardados. Pulsa una tecla.";
  const std::string question = std::string(22, ' ') + "Salir SIN guardar cambios (S/N):";
  const std::string empty =
      std::string(7, ' ') + "El listado esta vacio: no se ha guardado nada. Pulsa una tecla.";
  // An empty listing opens on line 1, ready: digits go into it at once; left empty it goes,
  // and a save says there is nothing to save.
  // clang-format off
  const struct { std::string keys; bool leaves; std::string file, row17; int cursor; bool empty; }
  cases[] = {  // cursor: its column, 0 while hidden
      {DownKey + "7s" + UpKey, false, saved, "", 11, false},
      {"7xy" + DeleteKey + "s", true, before, "", 0, false},
      {"7xy" + DeleteKey, false, before, question, 56, false}, {"", false, before, "", 10, true},
      {"s", false, before, empty, 0, true}, {"skxnk", true, before, "", 0, true},
      {"qk", true, before, "", 0, true}, {"0fq", true, "1 0F " + end, "", 0, true}};
  // clang-format on
  for (const auto& c : cases) {
    TempDir dir;
    WriteBytes(dir / "juego.txt", before);
    MemoryConsole screen;
    TestListing listing(c.empty ? std::vector<std::string>{}
                                : std::vector<std::string>{"1 00112233445566778899 765",
                                                           "2 00000000000000000000 0", "3 1 0"});
    EXPECT_EQ(RunKeys(screen, listing, c.keys, dir / "juego.txt"), c.leaves) << c.keys;
    EXPECT_EQ(ReadBytes(dir / "juego.txt"), c.file) << c.keys;
    EXPECT_EQ(screen.TrimmedRow(17), c.row17) << c.keys;
    EXPECT_EQ(screen.CursorVisible() ? screen.CursorColumn() : 0, c.cursor) << c.keys;
    EXPECT_TRUE(c.row17.empty() || screen.Colour(24, 17) == Yellow) << c.keys;
  }
  // A stray Insert saved with S goes, and the last line is current again. The answer to X
  // stands beside the question until the run ends or the notice covers it.
  TempDir dir;
  MemoryConsole screen;
  TestListing listing({"1 0 0"});
  EXPECT_TRUE(RunKeys(screen, listing, InsertKey + "s xs", dir / "juego.txt"));
  EXPECT_EQ(ReadBytes(dir / "juego.txt"), "1 0 0" + end);
  EXPECT_EQ(screen.Text(1, 10, 10), "     1   0");
  EXPECT_TRUE(screen.Written().ends_with("(S/N): S"));
}

}  // namespace

namespace {

// What the editor shows and holds after the keys, with the listing file as it was when loaded.
struct Saving {
  TempDir dir;
  MemoryConsole screen;
  TestListing listing{{"1 0 0"}};
  bool Run(const std::string& file, const FileStamp& loaded, const std::string& keys) {
    screen.Keys(keys);
    return !RunEditor({file, loaded}, *listing.table);
  }
};

// A save that fails says why in light red, and the editor goes on holding every line: Q does
// not leave. A file someone else wrote since it was loaded is saved over only after S; N and
// Escape write nothing and stay.
TEST(EditorSaving, AFailedSaveAndAFileChangedOutsideLoseNothing) {
  Saving failing;
  EXPECT_FALSE(failing.Run(failing.dir / "falta/juego.txt", {}, "7sk" + DownKey + "q"));
  EXPECT_EQ(failing.screen.TrimmedRow(17),
            std::string(14, ' ') + "No se ha podido guardar: error 2. Pulsa una tecla.");
  EXPECT_EQ(failing.screen.Colour(15, 17), LightRed);
  EXPECT_EQ(LineText(*failing.listing.table, 1), "1 70 0");

  Saving changed;
  const std::string file = changed.dir / "juego.txt",
                    question = std::string(8, ' ') +
                               "El fichero ha cambiado fuera de GRAVIX. Guardar encima (S/N):";
  WriteBytes(file, "1 0 0\n2 0 0\n");
  EXPECT_FALSE(changed.Run(file, {}, "7q\x1bqn"));
  EXPECT_EQ(changed.screen.TrimmedRow(17), "");
  EXPECT_EQ(ReadBytes(file), "1 0 0\n2 0 0\n");
  EXPECT_FALSE(changed.Run(file, {}, "q"));
  EXPECT_EQ(changed.screen.TrimmedRow(17), question);
  EXPECT_EQ(changed.screen.Colour(9, 17), Yellow);
  EXPECT_TRUE(changed.Run(file, {}, "qs"));
  EXPECT_EQ(ReadBytes(file), "1 70 0" + std::string(LineEnd()));
}

}  // namespace
