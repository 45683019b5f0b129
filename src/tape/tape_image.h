#pragma once
// The TAP tape image of one machine-code program: a header block of type 3 (code) and a data
// block, each with its length in front and its exclusive-or checksum at the end. Given a start
// address, a BASIC loader that runs the code goes first, as a Program header and data block.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

constexpr int ProgramNameLength = 10;
constexpr uint16_t TapeParameter2 = 32768;

// The most code bytes that fit from dumpAddress on: memory ends at 65535.
constexpr int32_t MostBytesFrom(int32_t dumpAddress) { return 65536 - dumpAddress; }

// The image's exact bytes: 25 + dataBytes.size(), and the loader's blocks before them when
// startAddress is given.
std::string BuildTapeImage(std::string_view programName, uint16_t dumpAddress,
                           std::string_view dataBytes,
                           std::optional<uint16_t> startAddress = std::nullopt);
// Writes the image over fileName so that a failure never leaves a cut file behind.
std::optional<IoFailure> SaveTapeImage(const std::string& fileName, std::string_view programName,
                                       uint16_t dumpAddress, std::string_view dataBytes,
                                       std::optional<uint16_t> startAddress = std::nullopt);

// The summary's second row: the padded name between quotes, the dump address, the bytes, and
// the start address when the image starts itself.
std::string ProgramSummary(std::string_view programName, int32_t dumpAddress, int32_t byteCount,
                           std::optional<uint16_t> startAddress = std::nullopt);
