#pragma once
// The TAP tape image of one machine-code program: a header block of type 3 (code) and a data
// block, each with its length in front and its exclusive-or checksum at the end.

#include <cstdint>
#include <string>
#include <string_view>

constexpr int ProgramNameLength = 10;
constexpr uint16_t TapeParameter2 = 32768;

// The image's exact bytes: 25 + dataBytes.size().
std::string BuildTapeImage(std::string_view programName, uint16_t dumpAddress,
                           std::string_view dataBytes);
// Writes the image over fileName so that a failure never leaves a cut file behind; false (errno
// set) when it could not.
bool SaveTapeImage(const std::string& fileName, std::string_view programName, uint16_t dumpAddress,
                   std::string_view dataBytes);
// The same, a failure ending the run with its Runtime error.
void WriteTapeImage(const std::string& fileName, std::string_view programName, uint16_t dumpAddress,
                    uint16_t byteCount, std::string_view dataBytes);
