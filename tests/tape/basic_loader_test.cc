// The loader's bytes worked out by hand from how the 48K ROM stores a BASIC line.
#include "tape/basic_loader.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
