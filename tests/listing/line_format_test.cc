#include "listing/line_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void ExpectFields(const ListingFields& fields, std::string_view number, std::string_view data,
                  std::string_view checksum) {
  EXPECT_EQ(fields.number, number);
  EXPECT_EQ(fields.data, data);
  EXPECT_EQ(fields.checksum, checksum);
}

TEST(SplitRawLine, BlanksAroundAndInsideTheDataAreDropped) {
  ExpectFields(SplitRawLine("1 00112233445566778899 765"), "1", "00112233445566778899", "765");
  ExpectFields(SplitRawLine("   12    F3 AF 11 FF FF C3 CB 11 2A 5D   1234   "), "12",
               "F3AF11FFFFC3CB112A5D", "1234");
  // Tabs are part of a token; only blanks separate.
  ExpectFields(SplitRawLine("1\t2 AB\tCD 7\t"), "1\t2", "AB\tCD", "7\t");
}

TEST(SplitRawLine, OverlongTokensKeepTheirFirstCharacters) {
  ExpectFields(SplitRawLine("123456 00112233445566778899 765"), "12345", "00112233445566778899",
               "765");
  ExpectFields(SplitRawLine("1 00 12345678901"), "1", "00", "1234567890");
}

TEST(SplitRawLine, DataIsCutToFortyThreeBeforeItsBlanksGo) {
  // 21 pairs, each followed by a blank: 63 characters; the first 43 hold 14 pairs and a digit.
  std::string pairs;
  for (int i = 0; i < 21; ++i) pairs += "AB ";
  const ListingFields fields = SplitRawLine("7 " + pairs + "99");
  EXPECT_EQ(fields.data, "ABABABABABABABABABABABABABABA");  // 43 characters, 14 blanks out
  EXPECT_EQ(fields.checksum, "99");
  // No blanks: the plain 43-character cut.
  EXPECT_EQ(SplitRawLine("7 " + std::string(50, 'C') + " 1").data, std::string(43, 'C'));
}

TEST(SplitRawLine, TwoTokensOneTokenAndBlanksOnlyStayInsideTheLine) {
  const ListingFields two = SplitRawLine("12 3456789AB");
  ExpectFields(two, "12", "", "3456789AB");
  EXPECT_EQ(JoinListingLine(two.number, two.data, two.checksum), "12  3456789AB");
  ExpectFields(SplitStoredLine("12  3456789AB"), "12", "", "3456789AB");
  // One token is a number only; its characters are not taken again as the checksum.
  ExpectFields(SplitRawLine("  1234567890  "), "12345", "", "");
  ExpectFields(SplitRawLine(std::string(12, ' ')), "", "", "");
}

TEST(SplitRawLine, OnlyTheFirst255CharactersAreSplit) {
  // The 9 stands at 256: the run of A is then the last token.
  ExpectFields(SplitRawLine("1 " + std::string(252, 'A') + " 9 77"), "1", "", std::string(10, 'A'));
  ExpectFields(SplitRawLine("1 " + std::string(251, 'A') + " 9 77"), "1", std::string(43, 'A'),
               "9");
}

TEST(SplitStoredLine, ReversesJoinListingLine) {
  ExpectFields(SplitStoredLine("007 00112233445566778899 0765"), "007", "00112233445566778899",
               "0765");
  ExpectFields(SplitStoredLine("5"), "5", "", "");
  ExpectFields(SplitStoredLine("5 AB"), "5", "AB", "");
  // Exactly one blank is skipped: a second blank starts the checksum.
  ExpectFields(SplitStoredLine("5 AB  9"), "5", "AB", " 9");
  EXPECT_EQ(JoinListingLine("12345", std::string(43, 'D'), "1234567890").size(), 60u);
  EXPECT_EQ(JoinListingLine("12345", std::string(43, 'D'), "12345678901").substr(50), "1234567890");
}

TEST(ZeroLine, IsTheNumberAndTwentyZerosSummingToZero) {
  EXPECT_EQ(ZeroLine(12), "12 00000000000000000000 0");
  EXPECT_EQ(ZeroLine(5000), "5000 00000000000000000000 0");
  EXPECT_TRUE(IsCorrectLine(SplitStoredLine(ZeroLine(7))));
}

TEST(HexByte, CapitalDigitsSpellTheirByte) {
  EXPECT_EQ(HexByte('0', '0'), 0);
  EXPECT_EQ(HexByte('9', 'A'), 0x9A);
  EXPECT_EQ(HexByte('F', 'F'), 255);
  EXPECT_TRUE(IsHexDigit('F'));
  EXPECT_FALSE(IsHexDigit('a'));
  EXPECT_FALSE(IsHexDigit('G'));
  EXPECT_FALSE(IsHexDigit('/'));
  EXPECT_FALSE(IsHexDigit(':'));
}

TEST(DataChecksum, SumsTenBytesOrAddsUpFaultCodes) {
  EXPECT_EQ(DataChecksum("00112233445566778899"), 765);
  EXPECT_EQ(DataChecksum(std::string(20, '0')), 0);
  EXPECT_EQ(DataChecksum(std::string(20, 'F')), 2550);
  EXPECT_EQ(DataChecksum(""), -2);
  EXPECT_EQ(DataChecksum(std::string(19, '1')), -2);
  EXPECT_EQ(DataChecksum(std::string(21, '1')), -1);
  EXPECT_EQ(DataChecksum("0011223344556677889a"), -4);
  EXPECT_EQ(DataChecksum(std::string("0011223344\0"
                                     "55667788",
                                     19) +
                         "9"),
            -4);
  EXPECT_EQ(DataChecksum("12G4"), -6);
  EXPECT_EQ(DataChecksum(std::string("G").append(21, '0')), -5);
}

TEST(TextToInteger, ReadsEveryNotationAndRefusesTheRest) {
  EXPECT_EQ(TextToInteger("765"), 765);
  EXPECT_EQ(TextToInteger("0765"), 765);
  EXPECT_EQ(TextToInteger(" \t+765"), 765);
  EXPECT_EQ(TextToInteger("-12"), -12);
  EXPECT_EQ(TextToInteger("$2FD"), 765);
  EXPECT_EQ(TextToInteger("$2fd"), 765);
  EXPECT_EQ(TextToInteger("-%101"), -5);
  EXPECT_EQ(TextToInteger("2147483647"), 2147483647);
  EXPECT_EQ(TextToInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(TextToInteger("$7FFFFFFF"), 2147483647);
  for (std::string_view bad :
       {"", " ", "+", "-", "$", "%", "765 ", "765A", "1O", "%102", "2fd", "$G", "2147483648",
        "-2147483649", "$80000000", "99999999999", "+-1", "$-1", "7 6"})
    EXPECT_FALSE(TextToInteger(bad).has_value()) << '"' << bad << '"';
}

TEST(IsCorrectLine, NeedsWellFormedDataAndAnEqualChecksum) {
  EXPECT_TRUE(IsCorrectLine({"1", "00112233445566778899", "765"}));
  EXPECT_TRUE(IsCorrectLine({"1", "00112233445566778899", "0765"}));
  EXPECT_TRUE(IsCorrectLine({"1", "00112233445566778899", "$2FD"}));
  EXPECT_FALSE(IsCorrectLine({"1", "00112233445566778899", "765A"}));
  EXPECT_FALSE(IsCorrectLine({"1", "00112233445566778899", ""}));
  EXPECT_FALSE(IsCorrectLine({"1", "00112233445566778899", "766"}));
  // A fault code never matches a checksum field that spells the same number.
  EXPECT_FALSE(IsCorrectLine({"1", "", "-2"}));
}

}  // namespace
