// The compile dialogue in a fresh working directory, listings named the way a user types them.
#include "dialogues/compile_dialogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "editor/test_listing.h"
#include "platform/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string Example = "0102030405060708090A";  // the ten bytes 1 to 10, sum 55

std::string Word(int value) { return {static_cast<char>(value), static_cast<char>(value >> 8)}; }

struct TapeTest : testing::Test {
  MemoryConsole screen_;
  fs::path previous_ = fs::current_path();
  TempDir dir_;
  TapeTest() { fs::current_path(dir_.path); }
  ~TapeTest() override { fs::current_path(previous_); }

  // The line the dialogue leaves current, or -1 while it waits for a key.
  int32_t Compile(const TestListing& listing, const std::string& fileName,
                  const std::string& keys) {
    screen_.Keys(keys);
    HideCursor();  // as the editor calls it
    int currentLine = 99;
    if (CompileTape(currentLine, *listing.table, fileName)) return -1;
    return currentLine;
  }
};

TEST_F(TapeTest, FirstFaultyLineIsReportedAndNothingIsAsked) {
  std::vector<std::string> lines = PatternLines(12);
  lines[6] = "7 00000000000000000000 1";
  lines[11] = "12 0a000000000000000000 10";
  TestListing listing(lines);
  EXPECT_EQ(Compile(listing, "juego.txt", ""), -1);
  EXPECT_EQ(screen_.TrimmedRow(17), std::string(19, ' ') + "Error en la linea 7. Pulsa una tecla");
  EXPECT_EQ(screen_.Colour(20, 17), Yellow);
  EXPECT_EQ(Compile(listing, "juego.txt", UpKey + "PRUEBA\r"), 7);
  EXPECT_EQ(screen_.TrimmedRow(17), "");
  EXPECT_TRUE(fs::is_empty("."));
  // The first line and the last are checked too; checksums compare as numbers.
  const std::pair<std::string, bool> cases[] = {
      {"055", true}, {"$37", true}, {"56", false}, {"", false}, {"55x", false}};
  for (const auto& [checksum, compiles] : cases)
    for (const int faulty : {1, 3}) {
      std::vector<std::string> three = {TypedZeroLine(1), TypedZeroLine(2), TypedZeroLine(3)};
      three[faulty - 1] = std::to_string(faulty) + " " + Example + " " + checksum;
      fs::remove("juego.tap");
      Compile(TestListing(three), "juego.txt", "kN\r0\r10\r\rk");
      EXPECT_EQ(fs::exists("juego.tap"), compiles) << checksum << " in line " << faulty;
    }
}

TEST_F(TapeTest, ByteCountsUpToTenPerLineAndProgramNameBytes) {
  // clang-format off
  const struct { int lines; std::string rejected, accepted; int bytes; } cases[] = {
      {2, "21", "00020", 20}, {3, "31", "15", 15}, {5000, "50001", "50000", 50000},
      {1, "0", "1", 1}};
  // clang-format on
  for (const auto& c : cases) {
    TestListing listing(PatternLines(c.lines));
    EXPECT_EQ(Compile(listing, "juego.txt", "A\r00000\r" + c.rejected + "\r"), -1);
    EXPECT_TRUE(screen_.CursorVisible());  // while a prompt waits
    EXPECT_EQ(screen_.TrimmedRow(17),
              std::string(21, ' ') + "Numero de BYTES [1-" + std::to_string(c.lines * 10) + "]:");
    const std::string answers = c.rejected + "\r" + c.accepted + "\r\rk";
    EXPECT_EQ(Compile(listing, "juego.txt", "A\r65536\r0\r" + answers), 1);
    EXPECT_EQ(screen_.TrimmedRow(16) + screen_.TrimmedRow(17) + screen_.TrimmedRow(18), "");
    const std::string image = ReadBytes("juego.tap");
    EXPECT_EQ(image.size(), 25u + c.bytes);
    EXPECT_EQ(image.substr(14, 2) + image.substr(21, 2), Word(c.bytes) + Word(c.bytes + 2));
    EXPECT_EQ(image.substr(24, c.bytes), PatternBytes(c.bytes));
  }
  // The last, one-byte program; the worked example; a shorter image over it, name bytes kept.
  EXPECT_EQ(ReadBytes("juego.tap"), "\x13\0\0\3A         \1\0\0\0\0\x80\xE3\3\0\xFF\3\xFC"s);
  // Code that would run past 65535 is not asked for.
  EXPECT_EQ(Compile(TestListing(PatternLines(2)), "juego.txt", "A\r65528\r"), -1);
  EXPECT_EQ(screen_.TrimmedRow(17), std::string(21, ' ') + "Numero de BYTES [1-8]:");
  TestListing example({"1 " + Example + " 55"});
  EXPECT_EQ(Compile(example, "juego.txt", "PRUEBA\r32768\r10\r\r"), -1);
  EXPECT_EQ(ReadBytes("juego.tap"),
            "\x13\0\0\3PRUEBA    \x0A\0\0\x80\0\x80\x18\x0C\0\xFF"
            "\1\2\3\4\5\6\7\x08\x09\x0A\xF4"s);
  EXPECT_EQ(screen_.Colour(31, 16) * 100 + screen_.Colour(6, 17), Yellow * 101);  // the summary
  EXPECT_EQ(screen_.TrimmedRow(17),
            "     Programa: \"PRUEBA    \"   #   Dump: 32768   #   Bytes: 10");
  // Each prompt starts on a clear row, however long the answer before it.
  EXPECT_EQ(Compile(example, "juego.txt", "ABCDEFGHIJ\r"), -1);
  EXPECT_EQ(screen_.TrimmedRow(17), std::string(21, ' ') + "Direccion del DUMP [0-65535]:");
  // Empty Enter, Backspace there, Tab, extended keys ignored; ten characters at most.
  EXPECT_EQ(Compile(example, "juego.txt", "\r\ba\x7F\t" + UpKey + "\xE9 zq\b123456\r0\r1\r\r"), -1);
  EXPECT_EQ(ReadBytes("juego.tap").substr(4, 10), "a\x7F\xE9 z12345");
  EXPECT_EQ(screen_.Text(17, 17, 2), "a?");
}

// An empty listing asks nothing; an image that cannot be written is a notice in light red, and
// the line stays.
TEST_F(TapeTest, AnEmptyListingAndAnImageThatCannotBeWritten) {
  TestListing none({});
  EXPECT_EQ(Compile(none, "juego.txt", ""), -1);
  EXPECT_EQ(screen_.TrimmedRow(17),
            std::string(17, ' ') + "El listado no tiene lineas. Pulsa una tecla.");
  EXPECT_EQ(Compile(none, "juego.txt", "k"), 99);
  const std::string failed = "No se ha podido escribir la cinta: error 2. Pulsa una tecla.";
  EXPECT_EQ(Compile(TestListing(PatternLines(1)), "falta/juego.txt", "P\r0\r10\r\r"), -1);
  EXPECT_EQ(screen_.TrimmedRow(17), std::string(9, ' ') + failed);
  EXPECT_EQ(screen_.Colour(10, 17), LightRed);
  EXPECT_EQ(Compile(TestListing(PatternLines(1)), "falta/juego.txt", "P\r0\r10\r\rk"), 99);
  EXPECT_TRUE(fs::is_empty("."));
}

// The directory kept, a listing never overwritten by its own image, a long summary from
// column 1 and cut at 80.
TEST_F(TapeTest, ImageNamesAndWhereTheSummaryShowsThem) {
  const std::string d70(70, 'd'), e57(57, 'e');
  for (const std::string& folder : {std::string("dir.old"), d70, e57}) fs::create_directory(folder);
  WriteBytes("x.tap", "listing");
  WriteBytes("juego.tap", "listing");
  fs::create_hard_link("juego.tap", "juego.txt");  // the listing under another name
  TestListing listing(PatternLines(1));
  // clang-format off
  for (auto [name, image, column] : {std::tuple<std::string, std::string, int>{
           "dir.old/juego", "dir.old/juego.tap", 27}, {"x.tap", "x.tap.tap", 31},
           {"juego.txt", "juego.txt.tap", 29}, {e57 + "/juego.txt", e57 + "/juego.tap", 2},
           {d70 + "/juego.txt", d70 + "/juego.tap", 1}}) {
    // clang-format on
    screen_ = MemoryConsole();
    EXPECT_EQ(Compile(listing, name, "P\r0\r10\r\r"), -1);
    const std::string shown = std::string(column - 1, ' ') + "Archivo: " + image;
    EXPECT_EQ(screen_.Row(16), (shown + std::string(80, ' ')).substr(0, 80));
    EXPECT_EQ(ReadBytes(image).size(), 35u) << image;
  }
  EXPECT_EQ(ReadBytes("x.tap") + ReadBytes("juego.tap"), "listinglisting");
}

}  // namespace
