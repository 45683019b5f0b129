#pragma once
// Code page 437, the PC's character set, whose upper half GRAVIX writes and reads as bytes
// 128-255 (the help text's 0xA6, names typed with accents).

#include <cstdint>
#include <string>

// The UTF-8 text of a byte from 128 to 255.
std::string Cp437ToUtf8(uint8_t byte);
// The byte 128-255 for a Unicode character, or -1 when code page 437 has no place for it.
int UnicodeToCp437(uint32_t codePoint);
