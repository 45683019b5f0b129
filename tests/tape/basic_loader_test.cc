// The loader's bytes worked out by hand from how the 48K ROM stores a BASIC line, and the image
// that carries it.
#include "tape/basic_loader.h"

#include <gtest/gtest.h>

#include <string>

#include "tape/tape_image.h"

namespace {

using namespace std::string_literals;

// clang-format off
TEST(BasicLoader, TheLineAsTheRomStoresIt) {
  // 10 CLEAR 32767: LOAD ""CODE : RANDOMIZE USR 32768
  EXPECT_EQ(BuildBasicLoader(32768, 32768),
            "\0\x0A\x20\0"                          // line 10 (high byte first), 32 bytes follow
            "\xFD" "32767\x0E\0\0\xFF\x7F\0:"       // CLEAR 32767:
            "\xEF\"\"\xAF:"                         // LOAD ""CODE :
            "\xF9\xC0" "32768\x0E\0\0\0\x80\0\r"s);  // RANDOMIZE USR 32768, ENTER
  // Code among BASIC's own memory is loaded with no CLEAR: 10 LOAD ""CODE : RANDOMIZE USR 16400
  EXPECT_EQ(BuildBasicLoader(16384, 16400),
            "\0\x0A\x13\0\xEF\"\"\xAF:\xF9\xC0" "16400\x0E\0\0\x10\x40\0\r"s);
  EXPECT_EQ(BuildBasicLoader(24000, 0).substr(4, 6), "\xFD" "23999");
  EXPECT_EQ(BuildBasicLoader(23999, 0)[4], '\xEF');
}
// clang-format on

TEST(BasicLoader, ImageHasTheProgramBeforeTheCode) {
  const std::string code(300, '\1');  // a block length with a high byte
  const std::string image = BuildTapeImage("PRUEBA", 32768, code, 32768);
  // Type 0, the code's name, 36 bytes of program, autostart line 10, no variables after it.
  EXPECT_EQ(image.substr(0, 24), "\x13\0\0\0PRUEBA    \x24\0\x0A\0\x24\0\x1B\x26\0\xFF"s);
  EXPECT_EQ(image.substr(24, 37), BuildBasicLoader(32768, 32768) + "\x53");
  EXPECT_EQ(image.substr(61), BuildTapeImage("PRUEBA", 32768, code));
  EXPECT_EQ(image.substr(image.size() - 2), "\1\xFF");  // the ones cancel out: the flag alone
  // Code that would run past 65535 is the caller's to refuse.
  EXPECT_EQ(MostBytesFrom(65528), 8);
  EXPECT_EQ(MostBytesFrom(0), 65536);
}

}  // namespace
