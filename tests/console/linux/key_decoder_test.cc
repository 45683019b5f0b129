// Key bytes as terminals send them, decoded as the console delivers them.
#include <gtest/gtest.h>

#include "console/linux/cp437.h"
#include "console/linux/key_decoder.h"

namespace {

// Feeds the bytes as they arrive, then lets the 10 ms wait run out.
std::string Decode(std::string_view received, bool utf8 = false) {
  KeyDecoder decoder;
  decoder.utf8 = utf8;
  std::string keys;
  for (char c : received) DecodeKeyByte(decoder, static_cast<uint8_t>(c), keys);
  DecodeTimeout(decoder, keys);
  return keys;
}

std::string Extended(int scanCode) { return std::string{'\0', static_cast<char>(scanCode)}; }

TEST(KeyDecoder, NavigationKeysOfCommonTerminalsBecomeScanCodes) {
  const std::pair<const char*, int> keys[] = {
      {"\x1b[A", 72},  {"\x1bOA", 72},  {"\x1b[B", 80},  {"\x1bOB", 80},  {"\x1b[C", 77},
      {"\x1bOC", 77},  {"\x1b[D", 75},  {"\x1bOD", 75},  {"\x1b[H", 71},  {"\x1b[1~", 71},
      {"\x1bOH", 71},  {"\x1b[7~", 71}, {"\x1b[K", 79},  {"\x1b[4~", 79}, {"\x1b[F", 79},
      {"\x1bOF", 79},  {"\x1b[8~", 79}, {"\x1b[5~", 73}, {"\x1b[6~", 81}, {"\x1b[2~", 82},
      {"\x1b[3~", 83}, {"\x1b[[A", 59}, {"\x1b[[E", 63}, {"\x1bOP", 59},  {"\x1b[21~", 68},
  };
  for (auto [bytes, scanCode] : keys) {
    KeyDecoder decoder;
    std::string delivered;
    for (const char* c = bytes; *c; ++c) DecodeKeyByte(decoder, static_cast<uint8_t>(*c), delivered);
    EXPECT_EQ(delivered, Extended(scanCode)) << &bytes[1];
    EXPECT_FALSE(DecoderWaiting(decoder));
  }
}

TEST(KeyDecoder, LoneEscapeIsDeliveredOnlyWhenTheWaitRunsOut) {
  KeyDecoder decoder;
  std::string keys;
  DecodeKeyByte(decoder, 27, keys);
  EXPECT_TRUE(keys.empty());
  EXPECT_TRUE(DecoderWaiting(decoder));
  DecodeTimeout(decoder, keys);
  EXPECT_EQ(keys, "\x1b");
  EXPECT_EQ(Decode("\x1b\x1b[A"), "\x1b" + Extended(72));
}

TEST(KeyDecoder, BackspaceAndOrdinaryBytes) {
  EXPECT_EQ(Decode("\x7f"), "\b");
  EXPECT_EQ(Decode("\b\t\r a1Z"), "\b\t\r a1Z");
  EXPECT_EQ(Decode(std::string("\x03", 1)), "\x03");  // Ctrl+C is just a key in raw mode
  EXPECT_EQ(Decode(std::string("\0H", 2)), "H");      // a typed 0 never makes H an Up key
}

TEST(KeyDecoder, AltCombinationsUseThePcScanCodes) {
  EXPECT_EQ(Decode("\x1bq"), Extended(16));
  EXPECT_EQ(Decode("\x1bl"), Extended(38));
  EXPECT_EQ(Decode("\x1bm"), Extended(50));
  EXPECT_EQ(Decode("\x1b" "1"), Extended(120));
  EXPECT_EQ(Decode("\x1b" "0"), Extended(129));
  EXPECT_EQ(Decode("\x1b-\x1b="), Extended(130) + Extended(131));
}

TEST(KeyDecoder, UnknownAndBrokenSequencesAreDroppedWhole) {
  EXPECT_EQ(Decode("\x1b[1;5A"), "");           // Ctrl+Up
  EXPECT_EQ(Decode("\x1b[99~x"), "x");
  EXPECT_EQ(Decode("\x1b[200~"), "");          // bracketed paste start
  EXPECT_EQ(Decode("\x1bOZ"), "");
  EXPECT_EQ(Decode("\x1b]2;title\x07x"), "x");  // never typed characters
  EXPECT_EQ(Decode("\x1bP1$r\x1b\\y"), "y");
  EXPECT_EQ(Decode("\x1bX"), "");
  KeyDecoder decoder;
  std::string keys;
  for (char c : std::string("\x1b[12")) DecodeKeyByte(decoder, static_cast<uint8_t>(c), keys);
  DecodeTimeout(decoder, keys);  // a partial sequence that stops
  EXPECT_EQ(keys, "");
  DecodeKeyByte(decoder, '5', keys);
  EXPECT_EQ(keys, "5");
  // An overlong sequence is read to its end and dropped, whatever its last byte.
  EXPECT_EQ(Decode("\x1b[" + std::string(100, '1') + "Ax"), "x");
}

TEST(KeyDecoder, Utf8CharactersWithACodePage437PlaceArriveAsThatByte) {
  EXPECT_EQ(Decode("\xc3\xb1", true), "\xa4");        // n with tilde
  EXPECT_EQ(Decode("\xc2\xaa" "a", true), "\xa6" "a");  // feminine ordinal
  EXPECT_EQ(Decode("\xe2\x96\x91", true), "\xb0");    // light shade
  EXPECT_EQ(Decode("\xe2\x82\xac", true), "");        // the euro sign has no place
  EXPECT_EQ(Decode("\xf0\x9f\x98\x80", true), "");    // nor has an emoji
  EXPECT_EQ(Decode("\xc3" "A", true), "A");           // a broken character is forgotten
  EXPECT_EQ(Decode("\xb1", true), "");                // a stray continuation byte
  EXPECT_EQ(Decode("\xa4\xb1", false), "\xa4\xb1");   // other locales: bytes as they come
}

TEST(CodePage437, UpperHalfRoundTripsThroughUnicode) {
  EXPECT_EQ(Cp437ToUtf8(0xA6), "\xc2\xaa");
  EXPECT_EQ(Cp437ToUtf8(0xFF), "\xc2\xa0");
  EXPECT_EQ(Cp437ToUtf8(0xC9), "\xe2\x95\x94");
  for (int byte = 128; byte < 256; ++byte) {
    const std::string text = Cp437ToUtf8(static_cast<uint8_t>(byte));
    KeyDecoder decoder;
    decoder.utf8 = true;
    std::string keys;
    for (char c : text) DecodeKeyByte(decoder, static_cast<uint8_t>(c), keys);
    EXPECT_EQ(keys, std::string(1, static_cast<char>(byte))) << byte;
  }
}

}  // namespace
