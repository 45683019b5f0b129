#pragma once
// Turns the bytes a terminal sends into the key bytes the console delivers: escape sequences
// of the navigation keys become 0 and a PC scan code, Backspace's 127 becomes 8. Other bytes
// pass as they come (characters of the locale's set are the binding's business).
//
// Time is a parameter: the binding waits DecoderWaitMilliseconds for the next byte and calls
// DecodeTimeout when that runs out, so tests feed bytes and timeouts without waiting. A lone
// Escape is known after 100 ms; a sequence's bytes may come up to a second apart over a slow
// link, and a [ or O within a second of an Escape still starts one.

#include <cstdint>
#include <string>

struct KeyDecoder {
  std::string pending;           // an escape sequence not finished yet
  bool escapeDelivered = false;  // a lone Escape went out, and its sequence may still follow
};

// How long to wait for the next byte before DecodeTimeout; -1: as long as it takes.
int DecoderWaitMilliseconds(const KeyDecoder& decoder);

// Feeds one received byte; the key bytes it completes are appended to keys.
void DecodeKeyByte(KeyDecoder& decoder, uint8_t byte, std::string& keys);
// The next byte did not come in time: a lone Escape is delivered as 27, an unfinished sequence
// dropped.
void DecodeTimeout(KeyDecoder& decoder, std::string& keys);
