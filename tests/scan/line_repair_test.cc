// The checksum-guided repair and what is written for a line: a misread that still adds up is
// never kept with its checksum while another reading comes near.
#include "scan/line_repair.h"

#include <gtest/gtest.h>

#include "scan/line_evidence.h"
#include "scan/numbering.h"

namespace {

// Symbols read as text, each a digit the recogniser was sure of; alternatives added by hand.
std::vector<ReadSymbol> Read(const std::string& text) {
  std::vector<ReadSymbol> symbols;
  for (char c : text) symbols.push_back({{{std::string(1, c), 0}}, 95, 0, 0});
  return symbols;
}

std::vector<DigitOptions> Options(const std::vector<ReadSymbol>& symbols, DigitKind kind) {
  std::vector<DigitOptions> options;
  for (const ReadSymbol& symbol : symbols) options.push_back(OptionsOf(symbol, kind));
  return options;
}

WrittenFields Written(const std::vector<ReadSymbol>& data, const std::string& checksum) {
  PassReading reading;
  reading.repair =
      RepairLine(Options(data, DigitKind::Hex), Options(Read(checksum), DigitKind::Decimal));
  reading.leastConfidence = 95;
  for (const ReadSymbol& symbol : data) reading.data += ReadDigit(symbol, DigitKind::Hex);
  reading.checksum = checksum;
  return WrittenLine({{reading}});
}

TEST(LineRepair, ALookAlikeTheRecogniserOfferedIsMendedAndKeepsItsChecksum) {
  std::vector<ReadSymbol> data = Read("0B000E0076790F0F0FE6");  // B for 6
  data[1].choices.push_back({"6", 5});
  EXPECT_EQ(Written(data, "534").data, "06000E0076790F0F0FE6");
  EXPECT_EQ(Written(data, "534").checksum, "534");
  // Not offered: the look-alike alone mends it, too dearly to be sure.
  const WrittenFields unsure = Written(Read("0B000E0076790F0F0FE6"), "534");
  EXPECT_EQ(unsure.data, "06000E0076790F0F0FE6");
  EXPECT_EQ(unsure.checksum, "");
}

// E for 6 and 0 for 8 in the high digits cancel in the sum (+128, -128): the misread adds up.
TEST(LineRepair, MisreadsThatCancelAreKeptOnlyWhenTheTrueReadingIsFarBehind) {
  for (const float cost : {6.0f, 30.0f}) {
    std::vector<ReadSymbol> data = Read("E0000000000000000000");  // printed 6080000000...
    data[0].choices.push_back({"6", cost});
    data[2].choices.push_back({"8", cost});
    const Repair repair =
        RepairLine(Options(data, DigitKind::Hex), Options(Read("224"), DigitKind::Decimal));
    ASSERT_TRUE(repair.best && repair.runnerUp);
    EXPECT_EQ(repair.best->data, "E0000000000000000000");
    if (cost == 6) {
      EXPECT_EQ(repair.runnerUp->data, "60800000000000000000");
    }
    EXPECT_FLOAT_EQ(repair.runnerUp->cost - repair.best->cost, 2 * cost);
    EXPECT_EQ(Written(data, "224").checksum, cost == 6 ? "" : "224") << cost;
  }
}

TEST(LineRepair, ADigitReadTwiceOrAMisreadChecksumIsMended) {
  const Repair twice = RepairLine(Options(Read("066000E0076790F0F0FE6"), DigitKind::Hex),
                                  Options(Read("534"), DigitKind::Decimal));
  ASSERT_TRUE(twice.best);
  EXPECT_EQ(twice.best->data, "06000E0076790F0F0FE6");
  EXPECT_EQ(twice.best->cost, CheapDropCost);
  // A checksum with a look-alike (8 for 3) and one with a digit too many at its start.
  for (const std::string checksum : {"584", "1534"}) {
    const Repair repair = RepairLine(Options(Read("06000E0076790F0F0FE6"), DigitKind::Hex),
                                     Options(Read(checksum), DigitKind::Decimal));
    ASSERT_TRUE(repair.best) << checksum;
    EXPECT_EQ(repair.best->checksum, 534) << checksum;
  }
  // Two digits short: nothing within reach; the line is written as read, its sum marking it.
  EXPECT_FALSE(RepairLine(Options(Read("06000E0076790F0F0F"), DigitKind::Hex),
                          Options(Read("534"), DigitKind::Decimal))
                   .best);
  EXPECT_EQ(Written(Read("06000E0O76790F0F0F"), "534").data, "06000E0076790F0F0F");
}

// The page's glyphs decide a line they read as adding up, well ahead of the next reading, unless
// another pass, sure of itself, reads it otherwise; mended by the sum, they need another pass.
TEST(LineRepair, TheGlyphsDecideUnlessAnotherPassIsSureOtherwise) {
  auto reading = [](const std::string& data, float cost, float runnerUp, bool glyphs) {
    PassReading line;
    line.byGlyphs = glyphs;
    line.leastConfidence = 95;
    std::string next = data;
    next[0] = 'F';
    line.repair = {Reading{data, 534, cost}, Reading{next, 534, runnerUp}};
    return line;
  };
  const std::string printed = "06000E0076790F0F0FE6", other = "0B000E0076790F0F0FE1";
  const struct {
    PassReading glyphs, pass;
    std::string checksum;
  } cases[] = {
      {reading(printed, 0, 60, true), reading(other, 0, 5, false), "534"},  // the pass is torn
      {reading(printed, 0, 60, true), reading(other, 0, 30, false), ""},    // it is sure
      {reading(printed, 5, 60, true), reading(other, 60, 90, false), ""},   // mended, alone
      {reading(printed, 5, 60, true), reading(printed, 20, 40, false), "534"},
      // The pass alone sure of a reading the glyphs put no further off than its own next one.
      {reading(printed, 23, 90, true), reading(other, 4, 27, false), ""},
  };
  for (const auto& [glyphs, pass, checksum] : cases)
    EXPECT_EQ(WrittenLine({{pass, glyphs}}).checksum, checksum) << glyphs.repair.best->cost;
}

// Two printed lines of zeros are two lines, each read once by each pass; a heading is no line.
TEST(PageEvidence, LinesAreMatchedAcrossPassesNotWithinOne) {
  auto line = [](const std::string& number, int top) {
    return ReadLine{
        {{Read(number)}, {Read("00000000000000000000")}, {Read("0")}}, top, top + 40, {}, 0};
  };
  const ReadLine heading{{{Read("LISTADO")}, {Read("2:")}, {Read("40000")}}, 0, 40, {}, 0};
  const PageReading first{{heading, line("7", 100), line("8", 160)}};
  const PageReading second{{line("7", 104), line("8", 163)}};
  const std::vector<LineEvidence> lines = PageEvidence({first, second});
  ASSERT_EQ(lines.size(), 2u);
  for (size_t k = 0; k < 2; ++k) {
    ASSERT_EQ(lines[k].readings.size(), 2u);
    EXPECT_EQ(lines[k].readings[0].number, 7 + static_cast<int>(k));
    EXPECT_EQ(lines[k].readings[1].number, 7 + static_cast<int>(k));
  }
}

TEST(Numbering, LinesTakeTheNumberingTheirNeighboursAgreeOn) {
  using Clues = std::vector<NumberClue>;
  const struct {
    Clues clues;
    std::vector<int> numbers;
  } cases[] = {
      {{{8, 1}, {9, 2}, {std::nullopt, 3}, {11, 4}, {12, 5}}, {8, 9, 10, 11, 12}},  // 1O
      {{{1, 1}, {7, 2}, {3, 3}, {4, 4}}, {1, 2, 3, 4}},                             // 7 for 2
      {{{1, 1}, {2, 2}, {4, 4}, {5, 5}}, {1, 2, 4, 5}},  // a line not seen: 3 stays missing
      {{{1, 1}, {2, 2}, {41, 3}, {42, 4}, {43, 5}}, {1, 2, 41, 42, 43}},  // a numbering jump
      {{{std::nullopt, 1}, {std::nullopt, 2}}, {1, 2}},
      {{{46, 1}, {47, 2}, {48, 3}, {49, 4}, {30, 5}, {31, 6}, {32, 7}},
       {46, 47, 48, 49, 50, 51, 52}},  // 5 read as 3: no going back
  };
  for (const auto& c : cases) EXPECT_EQ(NumberLines(c.clues), c.numbers);
  EXPECT_EQ(LinePlaces({100, 150, 200, 300, 352}, 7), (std::vector<int>{7, 8, 9, 11, 12}));
}

TEST(Numbering, ANumberIsSureOnlyInARunOfLinesReadAsTheirNumbers) {
  const std::vector<NumberClue> alone{{14, 1}, {5, 2}, {16, 3}};  // 74 to 76, misread alike
  EXPECT_EQ(NumbersSure(alone, NumberLines(alone)), std::vector<bool>(3, false));
  const std::vector<NumberClue> run{{8, 1}, {9, 2}, {std::nullopt, 3}, {11, 4}, {12, 5}};
  EXPECT_EQ(NumbersSure(run, NumberLines(run)), std::vector<bool>(5, true));
}

}  // namespace
