#include "tape/compile_tape.h"

#include "tape/tape_image.h"
#include "tape_test_support.h"

namespace tape_test {
namespace {

using CompileTapeTest = TapeTest;

const std::string Example = "0102030405060708090A";  // the ten bytes 1 to 10, sum 55

TEST_F(CompileTapeTest, FirstFaultyLineIsReportedAndShownAndNothingIsAsked) {
  Listing listing(12);
  SetLineText(listing.table, 7, "7 00000000000000000000 1");
  SetLineText(listing.table, 12, "12 0a000000000000000000 10");

  EXPECT_EQ(Compile(listing, "juego.txt", ""), -1);
  EXPECT_EQ(screen_.TrimmedRow(17), std::string(19, ' ') + "Error en la linea 7. Pulsa una tecla");
  EXPECT_EQ(screen_.Colour(20, 17), Yellow);
  EXPECT_FALSE(screen_.CursorVisible());

  EXPECT_EQ(Compile(listing, "juego.txt", std::string(UpKey) + "PRUEBA\r"), 7);
  EXPECT_EQ(screen_.KeysLeft(), 7u);  // one key press taken, no question asked
  EXPECT_EQ(screen_.TrimmedRow(17), "");
  EXPECT_EQ(Files(), std::vector<std::string>{});
}

TEST_F(CompileTapeTest, EveryLineIsCheckedAndChecksumsCompareAsNumbers) {
  struct Case {
    std::string line;
    int32_t result;  // 1 once compiled, else the line reported
  };
  const Case cases[] = {
      {"3 " + Example + " 055", 1},    {"3 " + Example + " $37", 1},
      {"3 " + Example + " 56", 3},     {"3 " + Example + " ", 3},
      {"3 " + Example + " 55x", 3},    {"3 0102030405060708090a 55", 3},
      {"3 0102030405060708090 54", 3},
  };
  for (const Case& c : cases) {
    Listing listing(3);
    SetLineText(listing.table, 3, c.line);
    // The byte count asked never reaches line 3, which is checked all the same. A fault
    // takes only the first key; a compilation reads it as part of the name.
    EXPECT_EQ(Compile(listing, "juego.txt",
                      "k"
                      "N\r"
                      "0\r"
                      "10\r"
                      "k"),
              c.result)
        << c.line;
    std::filesystem::remove("juego.tap");
  }
}

TEST_F(CompileTapeTest, WorkedExampleWithItsPromptsAndSummary) {
  Listing listing;
  listing.Add("1 " + Example + " 55");

  EXPECT_EQ(Compile(listing, "juego.txt", ""), -1);
  EXPECT_EQ(screen_.Text(25, 17, 21), "Nombre del programa: ");
  EXPECT_EQ(screen_.Colour(25, 17), Yellow);
  EXPECT_EQ(screen_.CursorColumn(), 46);
  EXPECT_TRUE(screen_.CursorVisible());

  EXPECT_EQ(Compile(listing, "juego.txt", "PRUEBA\r"), -1);
  EXPECT_EQ(screen_.TrimmedRow(17), std::string(21, ' ') + "Direccion del DUMP [0-65535]:");
  EXPECT_EQ(Compile(listing, "juego.txt", "PRUEBA\r32768\r"), -1);
  EXPECT_EQ(screen_.TrimmedRow(17), std::string(21, ' ') + "Numero de BYTES [0-10]:");

  EXPECT_EQ(Compile(listing, "juego.txt", "PRUEBA\r32768\r10\r"), -1);
  EXPECT_EQ(Hex(ReadFile("juego.tap")),
            "13 00 00 03 50 52 55 45 42 41 20 20 20 20 0A 00 00 80 00 80 18 "
            "0C 00 FF 01 02 03 04 05 06 07 08 09 0A F4");
  EXPECT_EQ(screen_.TrimmedRow(16), std::string(30, ' ') + "Archivo: juego.tap");
  EXPECT_EQ(screen_.Colour(31, 16), Yellow);
  EXPECT_EQ(screen_.TrimmedRow(17),
            "     Programa: \"PRUEBA    \"   #   Dump: 32768   #   Bytes: 10");
  EXPECT_EQ(screen_.Colour(6, 17), Yellow);
  EXPECT_EQ(screen_.TrimmedRow(18), std::string(31, ' ') + "Pulsa una tecla.");
  EXPECT_FALSE(screen_.CursorVisible());

  EXPECT_EQ(Compile(listing, "juego.txt", "PRUEBA\r32768\r10\r" + DeleteKey), 1);
  EXPECT_EQ(screen_.KeysLeft(), 0u);
  for (int row = 16; row <= 18; ++row) EXPECT_EQ(screen_.TrimmedRow(row), "") << row;
}

TEST_F(CompileTapeTest, OutOfRangeAnswersAreAskedAgainSilently) {
  Listing listing(2);
  EXPECT_EQ(Compile(listing, "juego.txt", "A\r65536\r"), -1);
  EXPECT_EQ(screen_.TrimmedRow(17), std::string(21, ' ') + "Direccion del DUMP [0-65535]:");
  EXPECT_EQ(Compile(listing, "juego.txt", "A\r99999\r65535\r21\r"), -1);
  EXPECT_EQ(screen_.TrimmedRow(17), std::string(21, ' ') + "Numero de BYTES [0-20]:");

  EXPECT_EQ(Compile(listing, "juego.txt", "A\r65536\r65535\r21\r20\rk"), 1);
  const std::string image = ReadFile("juego.tap");
  EXPECT_EQ(image, BuildTapeImage("A         ", 65535, listing.Bytes(20)));

  EXPECT_EQ(Compile(listing, "juego.txt", "A\r00000\r0\r"), -1);
  EXPECT_EQ(ReadFile("juego.tap"), BuildTapeImage("A", 0, ""));
  EXPECT_EQ(screen_.TrimmedRow(17), "     Programa: \"A         \"   #   Dump: 0   #   Bytes: 0");
}

TEST_F(CompileTapeTest, FifteenBytesAreLineOneAndHalfOfLineTwo) {
  Listing listing(3);
  EXPECT_EQ(Compile(listing, "juego.txt", "P\r0\r15\rk"), 1);
  const std::string image = ReadFile("juego.tap");
  ASSERT_EQ(image.size(), 40u);
  EXPECT_EQ(image.substr(24, 15), listing.Bytes(15));
}

TEST_F(CompileTapeTest, EmptyListingAcceptsOnlyZero) {
  Listing listing;
  EXPECT_EQ(Compile(listing, "juego.txt", "P\r0\r1\r"), -1);
  EXPECT_EQ(screen_.TrimmedRow(17), std::string(21, ' ') + "Numero de BYTES [0-0]:");
  EXPECT_EQ(Compile(listing, "juego.txt", "P\r0\r1\r0\rk"), 1);
  EXPECT_EQ(ReadFile("juego.tap").size(), 25u);
}

TEST_F(CompileTapeTest, FullListingOffersFiftyThousandBytes) {
  Listing listing(MaxLines);
  EXPECT_EQ(Compile(listing, "juego.txt", "P\r0\r50001\r"), -1);
  EXPECT_EQ(screen_.TrimmedRow(17), std::string(21, ' ') + "Numero de BYTES [0-50000]:");
  EXPECT_EQ(Compile(listing, "juego.txt", "P\r0\r50001\r50000\rk"), 1);
  EXPECT_EQ(ReadFile("juego.tap"), BuildTapeImage("P", 0, listing.Bytes(50000)));
}

TEST_F(CompileTapeTest, ProgramNameBytesGoToTheFileUnchangedAndShowSafely) {
  Listing listing(1);
  EXPECT_EQ(Compile(listing, "juego.txt", "a\x7F\xE9 z\r0\r0\r"), -1);
  EXPECT_EQ(Hex(ReadFile("juego.tap").substr(4, 10)), "61 7F E9 20 7A 20 20 20 20 20");
  EXPECT_EQ(screen_.Text(17, 17, 2), "a?");
}

TEST_F(CompileTapeTest, ImageLandsBesideTheListingUnderItsName) {
  std::filesystem::create_directory("dir.old");
  Listing listing(1);
  EXPECT_EQ(Compile(listing, "dir.old/juego", "P\r0\r10\rk"), 1);
  EXPECT_EQ(Compile(listing, "prog.a.b", "P\r0\r10\r"), -1);
  EXPECT_EQ(screen_.TrimmedRow(16), std::string(29, ' ') + "Archivo: prog.a.tap");
  EXPECT_EQ(Files(), (std::vector<std::string>{"dir.old", "dir.old/juego.tap", "prog.a.tap"}));
}

TEST_F(CompileTapeTest, AListingIsNeverOverwrittenByItsOwnImage) {
  Listing listing(1);
  WriteFile("x.tap", "1 " + Example + " 55\n");
  EXPECT_EQ(Compile(listing, "x.tap", "P\r0\r10\r"), -1);
  EXPECT_EQ(screen_.TrimmedRow(16), std::string(30, ' ') + "Archivo: x.tap.tap");
  EXPECT_EQ(ReadFile("x.tap"), "1 " + Example + " 55\n");
  EXPECT_EQ(ReadFile("x.tap.tap").size(), 35u);

  // The same file under another name: a hard link juego.txt to juego.tap.
  WriteFile("juego.tap", "listing");
  std::filesystem::create_hard_link("juego.tap", "juego.txt");
  EXPECT_EQ(Compile(listing, "juego.txt", "P\r0\r10\rk"), 1);
  EXPECT_EQ(ReadFile("juego.txt"), "listing");
  EXPECT_EQ(ReadFile("juego.txt.tap").size(), 35u);
}

TEST_F(CompileTapeTest, LongImageNameStartsAtColumnOneAndIsCutAtTheRowEnd) {
  const std::string folder(70, 'd');
  std::filesystem::create_directory(folder);
  Listing listing(1);
  EXPECT_EQ(Compile(listing, folder + "/juego.txt", "P\r0\r10\r"), -1);
  EXPECT_EQ(screen_.Row(16), ("Archivo: " + folder + "/juego.tap").substr(0, 80));
  EXPECT_EQ(ReadFile(folder + "/juego.tap").size(), 35u);

  // 78 characters are centred at column 1 as well; 76 start at column 2.
  MoveCursor(1, 16);
  ClearToEndOfLine();
  const std::string shorter(76 - 9 - 10, 'e');
  std::filesystem::create_directory(shorter);
  EXPECT_EQ(Compile(listing, shorter + "/juego.txt", "P\r0\r10\r"), -1);
  EXPECT_EQ(screen_.Row(16), " Archivo: " + shorter + "/juego.tap   ");
}

}  // namespace
}  // namespace tape_test
