// Code page 437 and the terminal's character set, both ways: what each upper-half byte shows
// as, and the typed characters that reach the program.
#include "console/linux/charset.h"

#include <gtest/gtest.h>

namespace {

TEST(Charset, UpperHalfAsTheTerminalShowsIt) {
  UpperHalfTexts texts;
  ShowUpperHalfIn("UTF-8", texts);
  EXPECT_EQ(texts[0x80 - 128], "\u00c7");  // the first byte of the half too
  EXPECT_EQ(texts[0xB0 - 128], "\u2591");
  EXPECT_EQ(texts[0xFF - 128], "\u00a0");
  ShowUpperHalfIn("NO-SUCH-SET", texts);  // no conversion: a question mark for each
  EXPECT_EQ(texts[0], "?");
  EXPECT_EQ(texts[127], "?");
}

// A character may come in pieces; a byte that starts none is dropped, not the key after it.
TEST(Charset, TypedCharactersInCodePage437) {
  TypedText typed;
  OpenTypedText(typed, "UTF-8");
  std::string keys;
  for (const char* piece : {"a\xc3", "\xb1",
                            "\x80"
                            "b",
                            "\xe2\x96", "\x91"})
    AppendTyped(typed, piece, keys);
  EXPECT_EQ(keys,
            "a\xa4"
            "b\xb0");
  OpenTypedText(typed, "ISO-8859-1");
  keys.clear();
  AppendTyped(typed, "\xf1", keys);
  EXPECT_EQ(keys, "\xa4");
}

}  // namespace
