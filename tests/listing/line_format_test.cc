#include "listing/line_format.h"

#include <gtest/gtest.h>

#include <string>
TEST(SplitLines, FieldsOfTypedAndStoredLines) {
  std::string pairs;  // 21 pairs with a blank after each: the 43-character cut holds 14.5
  for (int i = 0; i < 21; ++i) pairs += "AB ";
  const std::string cases[][5] = {
      // raw or stored, line, number, data, checksum
      {"raw", "\t1\tA B\tC\vD \t7\t", "1", "ABC\vD", "7"},  // a tab is a blank, nothing else
      {"raw", "123456 00112233445566778899 765", "12345", "00112233445566778899", "765"},
      {"raw", "1 00 12345678901", "1", "00", "1234567890"},
      {"raw", "7 " + pairs + "99", "7", "ABABABABABABABABABABABABABABA", "99"},
      {"raw", "7 " + std::string(50, 'C') + " 1", "7", std::string(43, 'C'), "1"},
      // Two tokens: the second is the checksum only when it can be one.
      {"raw", "12 3456789ABC", "12", "3456789ABC", ""},
      {"raw", "2 07D3", "2", "07D3", ""},
      {"raw", "3\t534", "3", "", "534"},
      {"raw", "3 2550", "3", "", "2550"},  // ten bytes of FF
      {"raw", "3 25500", "3", "25500", ""},
      {"raw", "3 $2fD", "3", "", "$2fD"},
      // Just as a save writes it, whichever field is empty.
      {"raw", "3  534", "3", "", "534"},
      {"raw", "2 1234 ", "2", "1234", ""},
      {"raw", "3 0F 15", "3", "0F", "15"},
      {"raw", "7  ", "7", "", ""},
      {"raw", "1 06000E0076790F0F0FE6 ", "1", "06000E0076790F0F0FE6", ""},  // no checksum typed
      {"raw", "  1234567890  ", "12345", "", ""},  // one token is a number only
      {"raw", std::string(12, ' '), "", "", ""},
      // Only the first 255 characters are split: the 9 at 256 is not seen.
      {"raw", "1 " + std::string(252, 'A') + " 9 77", "1", std::string(43, 'A'), ""},
      {"raw", "1 " + std::string(251, 'A') + " 9 77", "1", std::string(43, 'A'), "9"},
      {"stored", "007 00112233445566778899 0765", "007", "00112233445566778899", "0765"},
      {"stored", "5", "5", "", ""},
      {"stored", "5 AB", "5", "AB", ""},
      {"stored", "5 AB  9", "5", "AB", " 9"},  // a second blank starts the checksum
      {"stored", "12  3456789AB", "12", "", "3456789AB"},
  };
  for (const auto& [kind, line, number, data, checksum] : cases) {
    const ListingFields fields = kind == "raw" ? SplitRawLine(line) : SplitStoredLine(line);
    EXPECT_EQ(fields.number + "|" + fields.data + "|" + fields.checksum,
              number + "|" + data + "|" + checksum)
        << kind << " \"" << line << '"';
  }
}

// Blanks and a sign first, $ for hexadecimal in either case or % for binary, then digits only,
// within 32 bits. An empty text is none, whatever lies after it in memory.
TEST(TextToInteger, TheOneFormOfANumber) {
  // clang-format off
  const std::pair<std::string_view, std::optional<int32_t>> cases[] = {
      {" \t+12", 12}, {"-0", 0}, {"$fa", 250}, {"$AF", 175}, {"%101", 5}, {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN}, {"2147483648", {}}, {"12 ", {}}, {"$", {}}, {"%2", {}},
      {"9a", {}}, {std::string_view("-1", 0), {}}};
  // clang-format on
  for (const auto& [text, number] : cases) EXPECT_EQ(TextToInteger(text), number) << text;
}
