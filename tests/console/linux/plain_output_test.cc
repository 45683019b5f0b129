#include "console/plain_output.h"

#include <gtest/gtest.h>

// Controls, DEL and C1 controls, raw or in UTF-8, never reach a terminal; letters of any
// locale do, UTF-8 or Latin-1.
TEST(PlainOutput, OnlyWhatNoTerminalObeys) {
  const std::pair<std::string, std::string> cases[] = {
      {"\x1b]2;X\x07 \x9b"
       "2J",
       "?]2;X? ?2J"},
      {"a\x7f\xc2\x9b\xc2\xaa\xc3\xb1", "a??\xc2\xaa\xc3\xb1"},
      {"\xf1\xe9\xe2\x82", "\xf1\xe9\xe2?"}};
  for (const auto& [text, shown] : cases) EXPECT_EQ(HarmlessPlainText(text), shown) << text;
}
