// Key bytes as terminals send them, decoded as the console delivers them.
#include "console/linux/key_decoder.h"

#include <gtest/gtest.h>

#include "console/linux/charset.h"

namespace {

// Feeds the bytes as they arrive, then (when timeout) lets the escape wait run out.
std::string Decode(std::string_view received, bool timeout = true) {
  KeyDecoder decoder;
  std::string keys;
  for (char c : received) DecodeKeyByte(decoder, static_cast<uint8_t>(c), keys);
  if (timeout) DecodeTimeout(decoder, keys);
  return keys;
}

std::string X(int scanCode) { return std::string{'\0', static_cast<char>(scanCode)}; }

TEST(KeyDecoder, BytesOfCommonTerminalsBecomeTheKeysTheConsoleDelivers) {
  const std::pair<std::string, std::string> sequences[] = {{"\x1b[A", X(72)},
                                                           {"\x1bOA", X(72)},
                                                           {"\x1b[B", X(80)},
                                                           {"\x1b[C", X(77)},
                                                           {"\x1bOD", X(75)},
                                                           {"\x1b[H", X(71)},
                                                           {"\x1b[1~", X(71)},
                                                           {"\x1bOH", X(71)},
                                                           {"\x1b[7~", X(71)},
                                                           {"\x1b[K", X(79)},
                                                           {"\x1b[4~", X(79)},
                                                           {"\x1b[F", X(79)},
                                                           {"\x1bOF", X(79)},
                                                           {"\x1b[8~", X(79)},
                                                           {"\x1b[5~", X(73)},
                                                           {"\x1b[6~", X(81)},
                                                           {"\x1b[2~", X(82)},
                                                           {"\x1b[3~", X(83)},
                                                           {"\x1b[[A", X(59)},
                                                           {"\x1b[[E", X(63)},
                                                           {"\x1bOP", X(59)},
                                                           {"\x1b[21~", X(68)},
                                                           {"\x1bq", X(16)},
                                                           {"\x1bl", X(38)},
                                                           {"\x1bm", X(50)},
                                                           {"\x1b"
                                                            "1",
                                                            X(120)},
                                                           {"\x1b"
                                                            "0",
                                                            X(129)},
                                                           {"\x1b-\x1b=", X(130) + X(131)}};
  for (const auto& [bytes, delivered] : sequences)
    EXPECT_EQ(Decode(bytes, false), delivered) << bytes.substr(1);
  EXPECT_EQ(Decode("\x1b", false), "");  // a lone Escape waits
  // A lone Escape, and a key after it that starts no sequence and no Alt chord as itself; a
  // typed 0 never makes H an Up key; unknown, broken and overlong sequences are dropped whole,
  // never typed.
  const std::pair<std::string, std::string> timed[] = {
      {"\x1b", "\x1b"},
      {"\x1bQ\x1b\t", "\x1bQ\x1b\t"},
      {"\x1b\x1b[A", "\x1b" + X(72)},
      {"\x7f", "\b"},
      {"\b\t\r a1Z\x03\x0c", "\b\t\r a1Z\x03\x0c"},
      {std::string("\0H", 2), "H"},
      {"\x1b[1;5A", ""},
      {"\x1b[99~x", "x"},
      {"\x1b[200~", ""},
      {"\x1bOZ", ""},
      {"\x1b]2;title\x07x", "x"},
      {"\x1bP1$r\x1b\\y", "y"},
      {"\x1bX", ""},
      {"\x1b[" + std::string(100, '1') + "Ax", "x"}};
  for (const auto& [bytes, delivered] : timed) EXPECT_EQ(Decode(bytes), delivered) << bytes;
}

// Typed characters of any locale's set arrive as their code page 437 byte; others, and broken
// ones, are dropped without taking the next key along.
TEST(TypedText, CharactersOfTheLocaleBecomeCodePage437) {
  const struct {
    const char* charset;
    std::string typed, delivered;
  } cases[] = {{"UTF-8", "\xc3\xb1", "\xa4"},
               {"UTF-8",
                "\xc2\xaa"
                "a",
                "\xa6"
                "a"},
               {"UTF-8", "\xe2\x96\x91", "\xb0"},
               {"UTF-8", "\xe2\x82\xac", ""},
               {"UTF-8", "\xf0\x9f\x98\x80", ""},
               {"UTF-8",
                "\xc3"
                "A",
                "A"},
               {"UTF-8", "\xc3\r", "\r"},
               {"UTF-8", "\xb1", ""},
               {"UTF-8", X(72) + "\xc3" + X(77), X(72) + X(77)},
               {"ISO-8859-1", "\xf1\xaa", "\xa4\xa6"},
               {"ANSI_X3.4-1968",
                "\xf1"
                "a",
                "a"}};
  for (const auto& c : cases) {
    TypedText typed;
    OpenTypedText(typed, c.charset);
    std::string keys;
    for (size_t i = 0; i < c.typed.size(); ++i) {
      const size_t length = c.typed[i] == '\0' ? 2 : 1;  // a navigation key comes whole
      AppendTyped(typed, std::string_view(c.typed).substr(i, length), keys);
      i += length - 1;
    }
    EXPECT_EQ(keys, c.delivered) << c.charset << " " << c.typed;
  }
}

}  // namespace
