// Key bytes as terminals send them, decoded as the console delivers them.
#include "console/linux/key_decoder.h"

#include <gtest/gtest.h>

#include "console/linux/cp437.h"

namespace {

// Feeds the bytes as they arrive, then (when timeout) lets the 10 ms wait run out.
std::string Decode(std::string_view received, bool utf8 = false, bool timeout = true) {
  KeyDecoder decoder;
  decoder.utf8 = utf8;
  std::string keys;
  for (char c : received) DecodeKeyByte(decoder, static_cast<uint8_t>(c), keys);
  if (timeout) DecodeTimeout(decoder, keys);
  return keys;
}

std::string X(int scanCode) { return std::string{'\0', static_cast<char>(scanCode)}; }

TEST(KeyDecoder, BytesOfCommonTerminalsBecomeTheKeysTheConsoleDelivers) {
  const std::pair<std::string, std::string> sequences[] = {
      {"\x1b[A", X(72)},
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
      {"\x1b-\x1b=", X(130) + X(131)}};  // Alt too
  for (const auto& [bytes, delivered] : sequences)
    EXPECT_EQ(Decode(bytes, false, false), delivered) << bytes.substr(1);
  EXPECT_EQ(Decode("\x1b", false, false), "");  // a lone Escape waits
  // Ctrl+C is just a key in raw mode; a typed 0 never makes H an Up key; unknown, broken and
  // overlong sequences are dropped whole, never typed.
  const std::pair<std::string, std::string> timed[] = {
      {"\x1b", "\x1b"},
      {"\x1b\x1b[A", "\x1b" + X(72)},
      {"\x7f", "\b"},
      {"\b\t\r a1Z", "\b\t\r a1Z"},
      {"\x03", "\x03"},
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
  // UTF-8 characters arrive as their code page 437 byte; others, and broken ones, are dropped.
  const std::pair<const char*, const char*> utf8[] = {{"\xc3\xb1", "\xa4"},
                                                      {"\xc2\xaa"
                                                       "a",
                                                       "\xa6"
                                                       "a"},
                                                      {"\xe2\x96\x91", "\xb0"},
                                                      {"\xe2\x82\xac", ""},
                                                      {"\xf0\x9f\x98\x80", ""},
                                                      {"\xc3"
                                                       "A",
                                                       "A"},
                                                      {"\xb1", ""}};
  for (auto [bytes, delivered] : utf8) EXPECT_EQ(Decode(bytes, true), delivered) << bytes;
  EXPECT_EQ(Decode("\xa4\xb1"), "\xa4\xb1");  // other locales: bytes as they come
  for (int byte = 128; byte < 256; ++byte)
    EXPECT_EQ(Decode(Cp437ToUtf8(static_cast<uint8_t>(byte)), true),
              std::string(1, static_cast<char>(byte)))
        << byte;
}

}  // namespace
