// The example listing must be what its assembler source says, so a user who types it in
// gets a routine that works.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/terminal.h"

namespace {

namespace fs = std::filesystem;

struct ListingLine {
  int number = 0;
  std::string data;  // the 10 bytes
  int checksum = 0;
};

// "number hex-digits checksum"; the digits may be split by blanks.
bool ParseListingLine(const std::string& text, ListingLine& line) {
  std::istringstream fields(text);
  std::vector<std::string> words;
  for (std::string word; fields >> word;) words.push_back(word);
  if (words.size() < 3) return false;
  std::string digits;
  for (size_t i = 1; i + 1 < words.size(); ++i) digits += words[i];
  if (digits.size() != 20 || digits.find_first_not_of("0123456789ABCDEF") != std::string::npos)
    return false;
  line.number = std::stoi(words.front());
  line.checksum = std::stoi(words.back());
  line.data.clear();
  for (size_t i = 0; i < digits.size(); i += 2)
    line.data.push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return true;
}

class Examples : public ::testing::TestWithParam<const char*> {};

TEST_P(Examples, ListingHoldsTheAssembledRoutine) {
  const fs::path examples = fs::path(GRAVIX_SOURCE_DIR) / "examples";
  const std::string name = GetParam();
  ScratchDirectory dir;
  const fs::path binary = dir.Path() / (name + ".bin");
  const std::string command = "pasmo --bin '" + (examples / (name + ".asm")).string() + "' '" +
                              binary.string() + "' > '" + (dir.Path() / "pasmo.log").string() +
                              "' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(dir.Path() / "pasmo.log");
  std::string assembled = ReadFileBytes(binary);
  ASSERT_FALSE(assembled.empty());
  assembled.resize((assembled.size() + 9) / 10 * 10, '\0');  // the last line is padded with zeros

  std::istringstream listing(ReadFileBytes(examples / (name + ".txt")));
  std::string data;
  int expectedNumber = 1;
  for (std::string text; std::getline(listing, text);) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.empty()) continue;
    ListingLine line;
    ASSERT_TRUE(ParseListingLine(text, line)) << text;
    EXPECT_EQ(line.number, expectedNumber++) << text;
    int sum = 0;
    for (char byte : line.data) sum += static_cast<unsigned char>(byte);
    EXPECT_EQ(line.checksum, sum) << text;
    data += line.data;
  }
  EXPECT_EQ(data, assembled);
}

INSTANTIATE_TEST_SUITE_P(Listings, Examples, ::testing::Values("borde", "rayas"));

}  // namespace
