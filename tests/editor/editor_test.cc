#include "editor/editor.h"

#include <gtest/gtest.h>

#include <string>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "editor/editor_screen.h"
#include "editor/test_listing.h"
#include "platform/temp_dir.h"

namespace {

// Runs the editor on a fresh screen until it leaves (true) or the keys run out (false).
bool RunKeys(MemoryConsole& screen, TestListing& listing, const std::string& keys,
             const std::string& file = "none.txt") {
  screen = MemoryConsole();
  screen.Keys(keys);
  try {
    RunEditor(file, listing.Count(), *listing.table);
  } catch (const KeysExhausted&) {
    return false;
  }
  return true;
}

int LineInRow10(const MemoryConsole& screen) { return std::stoi(screen.Text(1, 10, 6)); }

int LineAfter(const std::string& keys) {
  MemoryConsole screen;
  TestListing listing(ZeroLines(20));
  EXPECT_FALSE(RunKeys(screen, listing, keys)) << "the editor left after " << keys;
  return LineInRow10(screen);
}

TEST(EditorKeys, LineChangesOnATwentyLineListing) {
  EXPECT_EQ(LineAfter(""), 1);
  EXPECT_EQ(LineAfter(UpKey), 20);
  EXPECT_EQ(LineAfter(UpKey + DownKey), 1);
  EXPECT_EQ(LineAfter(DownKey + DownKey), 3);
  EXPECT_EQ(LineAfter("g13\r" + PageDownKey), 20);
  EXPECT_EQ(LineAfter("g14\r" + PageDownKey), 1);
  EXPECT_EQ(LineAfter("g8\r" + PageUpKey), 1);
  EXPECT_EQ(LineAfter("g7\r" + PageUpKey), 20);
  // Page Down arrives as the code of Q and never leaves the editor.
  EXPECT_EQ(LineAfter(PageDownKey + PageDownKey), 15);
  EXPECT_EQ(LineAfter(PageDownKey + PageDownKey + PageDownKey), 1);
}

TEST(EditorKeys, CursorColumnsFollowTheActiveField) {
  MemoryConsole screen;
  TestListing listing({"1 00112233445566778899 765", "2 00000000000000000000 0"});
  auto cursorAfter = [&](const std::string& keys) {
    RunKeys(screen, listing, keys);
    EXPECT_EQ(screen.CursorRow(), 10);
    EXPECT_TRUE(screen.CursorVisible());
    return screen.CursorColumn();
  };
  EXPECT_EQ(cursorAfter(""), 10);
  EXPECT_EQ(cursorAfter("\t"), 70);
  EXPECT_EQ(cursorAfter("\t" + EndKey + DownKey), 70);
  EXPECT_EQ(cursorAfter("\t" + DownKey + "\t"), 10);
  EXPECT_EQ(cursorAfter(EndKey), 30);
  EXPECT_EQ(cursorAfter(EndKey + RightKey + LeftKey), 29);
  EXPECT_EQ(cursorAfter(LeftKey + RightKey + RightKey), 12);
  EXPECT_EQ(cursorAfter(EndKey + HomeKey), 10);
  EXPECT_EQ(cursorAfter("\t" + EndKey), 73);
  EXPECT_EQ(cursorAfter("\t" + DownKey + EndKey), 71);
}

TEST(EditorKeys, TypingShowsAtOnceAndReachesTheTableAtTheLineChange) {
  MemoryConsole screen;
  TestListing listing({"1 00112233445566778899 765", "2 00000000000000000000 0"});
  // Appending a 21st digit: too long, light green, "D".
  RunKeys(screen, listing, EndKey + "a");
  EXPECT_EQ(screen.Text(10, 10, 21), "00112233445566778899A");
  EXPECT_EQ(screen.Colour(30, 10), LightGreen);
  EXPECT_EQ(screen.Text(62, 10, 3), "(D)");
  EXPECT_EQ(screen.CursorColumn(), 31);
  EXPECT_EQ(listing.Line(1), "1 00112233445566778899 765");  // not stored before a line change

  // Insert at the start, then retype the checksum: light blue until it matches.
  RunKeys(screen, listing, DeleteKey + "f\t" + DeleteKey + DeleteKey + DeleteKey + "100");
  EXPECT_EQ(screen.Text(10, 10, 20), "F0112233445566778899");
  EXPECT_EQ(screen.Colour(10, 10), White);
  EXPECT_EQ(screen.Text(62, 10, 6), "(1005)");
  EXPECT_EQ(screen.Text(70, 10, 4), "100 ");
  EXPECT_EQ(screen.Colour(70, 10), LightBlue);
  RunKeys(screen, listing,
          DeleteKey + "f\t" + DeleteKey + DeleteKey + DeleteKey + "1005zy" + DownKey);
  EXPECT_EQ(screen.Text(70, 9, 5), "1005 ");
  EXPECT_EQ(screen.Colour(70, 9), LightGrey);
  EXPECT_EQ(listing.Line(1), "1 F0112233445566778899 1005");
  EXPECT_EQ(LineInRow10(screen), 2);
}

TEST(EditorKeys, FieldEndsAndLimits) {
  MemoryConsole screen;
  const std::string data43(43, 'A'), checksum10 = "1234567890";
  TestListing listing({"1 " + data43 + " " + checksum10, "2 0 "});
  // Full fields take nothing more; letters never go into the checksum.
  RunKeys(screen, listing, "0" + EndKey + "0\t" + "5" + EndKey + "7\t" + DownKey);
  EXPECT_EQ(listing.Line(1), "1 " + data43 + " " + checksum10);
  // Delete at the end and Backspace at the start change nothing.
  RunKeys(screen, listing,
          DownKey + EndKey + DeleteKey + HomeKey + "\b\t" + DeleteKey + "\b" + "A" + "c3" + UpKey);
  EXPECT_EQ(listing.Line(2), "2 0 3");
  // Backspace in the middle removes the character before the cursor.
  RunKeys(screen, listing, RightKey + RightKey + "\b" + "\b" + "\b" + DownKey);
  EXPECT_EQ(listing.Line(1), "1 " + data43.substr(2) + " " + checksum10);
}

// What the editor writes for keys after its first draw: each keystroke costs only its rows.
std::string WrittenAfterStart(const std::string& keys) {
  MemoryConsole screen;
  TestListing listing(ZeroLines(20));
  RunKeys(screen, listing, "");
  const std::string start = screen.Written();
  RunKeys(screen, listing, keys);
  EXPECT_EQ(screen.Written().substr(0, start.size()), start);
  return screen.Written().substr(start.size());
}

TEST(EditorKeys, RedrawsOnlyWhatChanged) {
  MemoryConsole screen;
  TestListing listing(ZeroLines(20));
  const std::string typed = WrittenAfterStart("5");
  screen = MemoryConsole();
  DrawListingLine(10, "1 500000000000000000000 0");
  EXPECT_EQ(screen.RowsWritten(), std::set<int>{10});
  EXPECT_EQ(typed, screen.Written());

  const std::string moved = WrittenAfterStart(DownKey);
  screen = MemoryConsole();
  DrawEditorPage(2, listing.Count(), *listing.table);
  EXPECT_EQ(screen.RowsWritten(), (std::set<int>{6, 7, 8, 9, 10, 11, 12, 13, 14}));
  EXPECT_EQ(moved, screen.Written());
}

TEST(EditorKeys, GoToLineRepeatsItsPromptUntilTheAnswerFits) {
  MemoryConsole screen;
  TestListing listing(ZeroLines(20));
  RunKeys(screen, listing, "g12");
  EXPECT_EQ(screen.TrimmedRow(17), std::string(27, ' ') + "Ir a linea [1-20]: 12");
  EXPECT_EQ(screen.Colour(28, 17), Yellow);
  EXPECT_TRUE(screen.CursorVisible());
  RunKeys(screen, listing, "G0\r21\r");
  EXPECT_EQ(screen.Text(28, 17, 20), "Ir a linea [1-20]:  ");  // no echo left
  EXPECT_EQ(LineInRow10(screen), 1);
  RunKeys(screen, listing, "G0\r21\r0005\r");
  EXPECT_EQ(screen.TrimmedRow(17), "");
  EXPECT_EQ(LineInRow10(screen), 5);
  EXPECT_EQ(screen.CursorColumn(), 10);
}

TEST(EditorKeys, HelpPageSwitchesBackAndForth) {
  MemoryConsole screen;
  TestListing listing(ZeroLines(2));
  RunKeys(screen, listing, "h");
  EXPECT_EQ(screen.Text(26, 25, 9), "H = Ver 1");
  RunKeys(screen, listing, "hH");
  EXPECT_EQ(screen.Text(26, 25, 9), "H = Ver 2");
  EXPECT_EQ(screen.Text(3, 21, 6), "Cursor");
}

struct ListingFiles {
  TempDir dir;
  std::string listing = dir / "juego.txt", backup = dir / "juego.bak";
  ListingFiles() {
    WriteBytes(listing, "1 00 11 22 33 44 55 66 77 88 99 765\r\n3 1 0\r\n");
    WriteBytes(backup, "as it was\n");
  }
};

const std::vector<std::string> StoredLines = {"1 00112233445566778899 765",
                                              "2 00000000000000000000 0", "3 1 0"};

TEST(EditorSaving, QuitSavesTheLineUnderEditWithoutAQuestion) {
  MemoryConsole screen;
  ListingFiles files;
  TestListing listing(StoredLines);
  EXPECT_TRUE(RunKeys(screen, listing, DownKey + "\t" + "12q", files.listing));
  EXPECT_EQ(ReadBytes(files.listing),
            TextFile({"1 00112233445566778899 765", "2 00000000000000000000 120", "3 1 0"}));
  EXPECT_EQ(ReadBytes(files.backup), "as it was\n");
  EXPECT_EQ(screen.TrimmedRow(17), "");
  EXPECT_EQ(screen.Written().find("guardados"), std::string::npos);
}

TEST(EditorSaving, SaveShowsTheNoticeAndGoesOnWithTheSameLine) {
  MemoryConsole screen;
  ListingFiles files;
  TestListing listing(StoredLines);
  EXPECT_FALSE(RunKeys(screen, listing, DownKey + "7s", files.listing));
  EXPECT_EQ(ReadBytes(files.listing),
            TextFile({"1 00112233445566778899 765", "2 700000000000000000000 0", "3 1 0"}));
  EXPECT_EQ(screen.TrimmedRow(17),
            std::string(15, ' ') + "Los cambios han sido guardados. Pulsa una tecla.");
  EXPECT_EQ(screen.Colour(16, 17), Yellow);
  EXPECT_FALSE(screen.CursorVisible());

  EXPECT_FALSE(RunKeys(screen, listing, DownKey + "7s" + UpKey, files.listing));
  EXPECT_EQ(screen.TrimmedRow(17), "");
  EXPECT_EQ(LineInRow10(screen), 2);
  EXPECT_EQ(screen.CursorColumn(), 11);
  EXPECT_EQ(ReadBytes(files.backup), "as it was\n");
}

TEST(EditorSaving, QuitWithoutSavingAsksAndTakesOnlySOrN) {
  MemoryConsole screen;
  ListingFiles files;
  TestListing listing(StoredLines);
  const std::string before = ReadBytes(files.listing);
  // Delete arrives as the code of S and is no answer; neither is y.
  EXPECT_TRUE(RunKeys(screen, listing, "7xy" + DeleteKey + "s", files.listing));
  EXPECT_NE(screen.Written().find("Salir SIN guardar cambios (S/N): S"), std::string::npos);
  EXPECT_EQ(screen.Written().find("guardados"), std::string::npos);
  EXPECT_EQ(ReadBytes(files.listing), before);

  TestListing again(StoredLines);
  EXPECT_FALSE(RunKeys(screen, again, "7X" + DeleteKey + "n", files.listing));
  EXPECT_NE(screen.Written().find("Salir SIN guardar cambios (S/N): N"), std::string::npos);
  EXPECT_EQ(screen.Text(16, 17, 31), "Los cambios han sido guardados.");
  TestListing third(StoredLines);
  EXPECT_TRUE(RunKeys(screen, third, "7Xnk", files.listing));
  EXPECT_EQ(screen.TrimmedRow(17), "");
  EXPECT_EQ(ReadBytes(files.listing),
            TextFile({"1 700112233445566778899 765", "2 00000000000000000000 0", "3 1 0"}));
  EXPECT_EQ(ReadBytes(files.backup), "as it was\n");
}

TEST(EditorSaving, AnEmptyListingIsShownEmptyAndNeverWritten) {
  MemoryConsole screen;
  ListingFiles files;
  TestListing listing({});
  const std::string before = ReadBytes(files.listing);
  EXPECT_FALSE(RunKeys(screen, listing,
                       DownKey + UpKey + PageDownKey + "5g\t" + EndKey + DeleteKey + "\bh",
                       files.listing));
  for (int row = 7; row <= 13; ++row) EXPECT_EQ(screen.TrimmedRow(row), "") << "row " << row;
  EXPECT_EQ(screen.TrimmedRow(6), "         |------------------|");
  EXPECT_EQ(screen.TrimmedRow(17), "");
  EXPECT_EQ(screen.Text(26, 25, 9), "H = Ver 1");
  EXPECT_EQ(screen.CursorColumn(), 10);

  EXPECT_FALSE(RunKeys(screen, listing, "s", files.listing));
  EXPECT_EQ(screen.Text(16, 17, 31), "Los cambios han sido guardados.");
  EXPECT_TRUE(RunKeys(screen, listing,
                      "sk"
                      "xnk",
                      files.listing));
  EXPECT_TRUE(RunKeys(screen, listing, "q", files.listing));
  EXPECT_EQ(ReadBytes(files.listing), before);
}

}  // namespace
