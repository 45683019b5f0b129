#pragma once
// Turns the bytes a terminal sends into the key bytes the console delivers: escape sequences
// of the navigation keys become 0 and a PC scan code, Backspace's 127 becomes 8. Other bytes
// pass as they come (characters of the locale's set are the binding's business).
//
// Time is a parameter: the binding calls DecodeTimeout when the wait for the next byte of a
// sequence (100 ms, for slow links) runs out, so tests feed bytes and timeouts without waiting.

#include <cstdint>
#include <string>

struct KeyDecoder {
  std::string pending;  // an escape sequence not finished yet
};

// True while a sequence is open and the binding must wait a while for its next byte.
inline bool DecoderWaiting(const KeyDecoder& decoder) { return !decoder.pending.empty(); }

// Feeds one received byte; the key bytes it completes are appended to keys.
void DecodeKeyByte(KeyDecoder& decoder, uint8_t byte, std::string& keys);
// The next byte did not come in time: a lone Escape is delivered as 27, anything else dropped.
void DecodeTimeout(KeyDecoder& decoder, std::string& keys);
