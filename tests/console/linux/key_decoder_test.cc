// Key bytes as terminals send them, decoded as the console delivers them.
#include "console/linux/key_decoder.h"

#include <gtest/gtest.h>

#include "console/linux/charset.h"

namespace {

// Feeds the bytes as they arrive; each "|" is a wait for the next byte that ran out, and (when
// timeout) the last wait runs out too.
std::string Decode(std::string_view received, bool timeout = true) {
  KeyDecoder decoder;
  std::string keys;
  for (char c : received) {
    if (c == '|')
      DecodeTimeout(decoder, keys);
    else
      DecodeKeyByte(decoder, static_cast<uint8_t>(c), keys);
  }
  if (timeout) DecodeTimeout(decoder, keys);
  return keys;
}

std::string X(int scanCode) { return std::string{'\0', static_cast<char>(scanCode)}; }

std::string Codes(std::initializer_list<int> scanCodes) {
  std::string keys;
  for (int code : scanCodes) keys += X(code);
  return keys;
}

TEST(KeyDecoder, BytesOfCommonTerminalsBecomeTheKeysTheConsoleDelivers) {
  // Up Down Right Left Home End PgUp PgDn Insert Delete: xterm, xterm in application cursor mode,
  // the Linux console and VT220, rxvt; then End as some other terminals send it.
  const std::string keys = Codes({72, 80, 77, 75, 71, 79, 73, 81, 82, 83});
  for (const std::string sent :
       {"\x1b[A\x1b[B\x1b[C\x1b[D\x1b[H\x1b[F\x1b[5~\x1b[6~\x1b[2~\x1b[3~",
        "\x1bOA\x1bOB\x1bOC\x1bOD\x1bOH\x1bOF\x1b[5~\x1b[6~\x1b[2~\x1b[3~",
        "\x1b[A\x1b[B\x1b[C\x1b[D\x1b[1~\x1b[4~\x1b[5~\x1b[6~\x1b[2~\x1b[3~",
        "\x1b[A\x1b[B\x1b[C\x1b[D\x1b[7~\x1b[8~\x1b[5~\x1b[6~\x1b[2~\x1b[3~"})
    EXPECT_EQ(Decode(sent, false), keys) << sent.substr(1);
  EXPECT_EQ(Decode("\x1b[K", false), X(79));
  // No command takes F1 to F10, but each is a key: the Linux console's, xterm's F1 to F4, VT220's.
  EXPECT_EQ(Decode("\x1b[[A\x1b[[B\x1b[[C\x1b[[D\x1b[[E\x1bOP\x1bOQ\x1bOR\x1bOS\x1b[11~\x1b[12~"
                   "\x1b[13~\x1b[14~\x1b[15~\x1b[17~\x1b[18~\x1b[19~\x1b[20~\x1b[21~",
                   false),
            Codes({59, 60, 61, 62, 63, 59, 60, 61, 62, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68}));
  EXPECT_EQ(Decode("\x1b", false), "");  // a lone Escape waits
  // Alt with a letter (either case), digit, minus or equals: the PC's Alt scan codes; with ], ^
  // or _, a chord with none, ignored; the keys after a chord as themselves. A lone Escape, and a
  // key after it that starts no sequence and no Alt chord as itself; a typed 0 never makes H an
  // Up key; unknown, broken and overlong sequences are dropped whole, never typed. A [ or O that
  // comes after a lone Escape was taken ("|": a wait ran out) still starts a sequence, until the
  // second's wait runs out too.
  // clang-format off
  const std::pair<std::string, std::string> timed[] = {
      {"\x1bq\x1bl\x1bm\x1b" "1\x1b" "0\x1b-\x1b=", Codes({16, 38, 50, 120, 129, 130, 131})},
      {"\x1b", "\x1b"}, {"\x1bQ\x1b\t", X(16) + "\x1b\t"}, {"\x1bP\x1bX", Codes({25, 45})},
      {"\x1b]2\x1b^\x1b_x", "2x"},
      {"\x1b\x1b[A", "\x1b" + X(72)}, {"\x7f", "\b"}, {"\b\t\r a1Z\x03\x0c", "\b\t\r a1Z\x03\x0c"},
      {std::string("\0H", 2), "H"}, {"\x1b[1;5A", ""}, {"\x1b[2 qx", "x"}, {"\x1b[99~x", "x"},
      {"\x1b[200~", ""}, {"\x1bOZ", ""},
      {"\x1b|[3~", "\x1b" + X(83)}, {"\x1bO|B", "B"}, {"\x1b||[B", "\x1b[B"},
      {"\x1b[" + std::string(100, '1') + "Ax", "x"}};
  // clang-format on
  for (const auto& [bytes, delivered] : timed) EXPECT_EQ(Decode(bytes), delivered) << bytes;
}

// Typed characters of any locale's set arrive as their code page 437 byte; others, and broken
// ones, are dropped without taking the next key along.
TEST(TypedText, CharactersOfTheLocaleBecomeCodePage437) {
  // clang-format off
  const struct { const char* charset; std::string typed, delivered; } cases[] = {
      {"UTF-8", "\xc3\xb1", "\xa4"}, {"UTF-8", "\xc2\xaa" "a", "\xa6" "a"},
      {"UTF-8", "\xe2\x96\x91", "\xb0"}, {"UTF-8", "\xe2\x82\xac", ""},
      {"UTF-8", "\xf0\x9f\x98\x80", ""}, {"UTF-8", "\xc3" "A", "A"}, {"UTF-8", "\xc3\r", "\r"},
      {"UTF-8", "\xb1", ""}, {"UTF-8", X(72) + "\xc3" + X(77), X(72) + X(77)},
      {"ISO-8859-1", "\xf1\xaa", "\xa4\xa6"}, {"ANSI_X3.4-1968", "\xf1" "a", "a"}};
  // clang-format on
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
