#include "tape/basic_loader.h"

namespace {

// The 48K ROM's one-byte keyword tokens.
constexpr char Clear = '\xFD';
constexpr char Load = '\xEF';
constexpr char Code = '\xAF';
constexpr char Randomize = '\xF9';
constexpr char Usr = '\xC0';
constexpr char NumberMarker = 0x0E;
constexpr char Enter = 0x0D;

// A number as the ROM stores one typed into a line: the digits, which LIST shows, then the
// marker and the five-byte form the interpreter reads, here a small integer (no exponent, sign
// byte 0, the value low byte first).
void AppendNumber(std::string& line, uint16_t value) {
  line += std::to_string(value);
  line += {NumberMarker, 0, 0, static_cast<char>(value % 256), static_cast<char>(value / 256), 0};
}

}  // namespace

// Stored as a user keying the line in gets it: keywords come whole from one key, so the ROM
// keeps no blanks around them and LIST adds its own, showing
// 10 CLEAR 32767: LOAD ""CODE : RANDOMIZE USR 32768.
std::string BuildBasicLoader(uint16_t dumpAddress, uint16_t startAddress) {
  std::string body;
  if (dumpAddress >= LowestClearedDump) {
    body += Clear;
    AppendNumber(body, static_cast<uint16_t>(dumpAddress - 1));
    body += ':';
  }
  body += {Load, '"', '"', Code, ':', Randomize, Usr};
  AppendNumber(body, startAddress);
  body += Enter;
  // The line number is the one word the ROM keeps high byte first; the length after it (under 256
  // here) is not.
  const std::string line = {0, static_cast<char>(LoaderLine), static_cast<char>(body.size()), 0};
  return line + body;
}
