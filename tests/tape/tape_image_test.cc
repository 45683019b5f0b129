#include "tape/tape_image.h"

#include "tape_test_support.h"

namespace tape_test {
namespace {

std::string Bytes(int count, int first = 1) {
  std::string bytes;
  for (int k = 0; k < count; ++k) bytes.push_back(static_cast<char>(first + k));
  return bytes;
}

TEST(TapeImage, WorkedExampleComesOutByteForByte) {
  EXPECT_EQ(Hex(BuildTapeImage("PRUEBA    ", 32768, Bytes(10))),
            "13 00 00 03 50 52 55 45 42 41 20 20 20 20 0A 00 00 80 00 80 18 "
            "0C 00 FF 01 02 03 04 05 06 07 08 09 0A F4");
}

TEST(TapeImage, EmptyProgramIsTwentyFiveBytesWithAFlagOnlyDataBlock) {
  const std::string image = BuildTapeImage("A         ", 0, "");
  ASSERT_EQ(image.size(), 25u);
  EXPECT_EQ(Hex(image.substr(14, 6)), "00 00 00 00 00 80");
  EXPECT_EQ(Hex(image.substr(21)), "02 00 FF FF");
}

TEST(TapeImage, DumpAddressesAtBothEndsAndTheLargestProgram) {
  EXPECT_EQ(Hex(BuildTapeImage("X         ", 65535, "").substr(16, 2)), "FF FF");

  const std::string data = Bytes(50000, 7);
  const std::string image = BuildTapeImage("GRANDE    ", 0, data);
  ASSERT_EQ(image.size(), 50025u);
  EXPECT_EQ(Hex(image.substr(14, 4)), "50 C3 00 00");
  EXPECT_EQ(Hex(image.substr(21, 3)), "52 C3 FF");
  EXPECT_EQ(image.substr(24, 50000), data);
  uint8_t header = 0, block = 0;
  for (int i = 2; i < 20; ++i) header ^= static_cast<uint8_t>(image[i]);
  for (int i = 23; i < 50024; ++i) block ^= static_cast<uint8_t>(image[i]);
  EXPECT_EQ(static_cast<uint8_t>(image[20]), header);
  EXPECT_EQ(static_cast<uint8_t>(image[50024]), block);
}

TEST_F(TapeTest, WritingReplacesALongerOlderImageWhole) {
  WriteFile("juego.tap", std::string(500, 'z'));
  WriteTapeImage("juego.tap", "PRUEBA    ", 32768, 10, Bytes(10));
  EXPECT_EQ(ReadFile("juego.tap"), BuildTapeImage("PRUEBA    ", 32768, Bytes(10)));
  EXPECT_EQ(Files(), std::vector<std::string>{"juego.tap"});
}

}  // namespace
}  // namespace tape_test
