// The example listings must be what their assembler sources say, so a user who types one in
// gets a routine that works.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "e2e/terminal.h"

class Examples : public ::testing::TestWithParam<const char*> {};

TEST_P(Examples, ListingHoldsTheAssembledRoutine) {
  const std::string source = std::string(GRAVIX_SOURCE_DIR) + "/examples/" + GetParam();
  ScratchDirectory dir;
  const std::string binary = (dir.Path() / "routine.bin").string();
  ASSERT_EQ(std::system(("pasmo --bin '" + source + ".asm' '" + binary + "' >&2").c_str()), 0);
  std::string assembled = ReadFileBytes(binary);
  assembled.resize((assembled.size() + 9) / 10 * 10, '\0');  // the last line padded with zeros
  std::istringstream listing(ReadFileBytes(source + ".txt"));
  std::string data;
  int number = 0, checksum = 0;
  for (std::string digits; listing >> number >> digits >> checksum;) {
    ASSERT_EQ(digits.size(), 20u) << "line " << number;
    int sum = 0;
    for (size_t i = 0; i < digits.size(); i += 2) {
      data.push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
      sum += static_cast<unsigned char>(data.back());
    }
    EXPECT_EQ(number * 10, static_cast<int>(data.size())) << "numbered in order";
    EXPECT_EQ(checksum, sum) << "line " << number;
  }
  EXPECT_TRUE(listing.eof()) << "line after " << number << " unreadable";
  EXPECT_EQ(data, assembled);
}

INSTANTIATE_TEST_SUITE_P(Listings, Examples, ::testing::Values("borde", "rayas"));
