#pragma once
// Turns the bytes a terminal sends into the key bytes the console delivers: escape sequences
// of the navigation keys become 0 and a PC scan code, Backspace's 127 becomes 8, and in a
// UTF-8 terminal a typed character with a place in code page 437 becomes that byte.
//
// Time is a parameter: the binding calls DecodeTimeout when the 10 ms wait for the next byte
// of a sequence runs out, so tests feed bytes and timeouts without waiting.

#include <cstdint>
#include <string>

struct KeyDecoder {
  bool utf8 = false;    // the terminal sends UTF-8
  std::string pending;  // an escape or UTF-8 sequence not finished yet
};

// True while a sequence is open and the binding must wait at most 10 ms for its next byte.
inline bool DecoderWaiting(const KeyDecoder& decoder) { return !decoder.pending.empty(); }

// Feeds one received byte; the key bytes it completes are appended to keys.
void DecodeKeyByte(KeyDecoder& decoder, uint8_t byte, std::string& keys);
// The next byte did not come in time: a lone Escape is delivered as 27, anything else dropped.
void DecodeTimeout(KeyDecoder& decoder, std::string& keys);
