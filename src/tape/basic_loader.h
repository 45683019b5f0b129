#pragma once
// The one-line BASIC program that goes on tape before the code, so that LOAD "" alone loads the
// code and runs it: 10 CLEAR dump-1: LOAD ""CODE : RANDOMIZE USR start.

#include <cstdint>
#include <string>

constexpr uint16_t LoaderLine = 10;  // the Program header starts it there
// BASIC's own program and variables sit below this: code there is loaded with no CLEAR, which
// would refuse so low an address.
constexpr uint16_t LowestClearedDump = 24000;

// The program's bytes as the 48K ROM keeps them in memory (and SAVE puts them on tape).
std::string BuildBasicLoader(uint16_t dumpAddress, uint16_t startAddress);
