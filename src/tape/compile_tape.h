#pragma once
// Compiling the listing: every line is checked, then the program name, the dump address and
// the byte count are asked in the message area, and the tape image is written beside the
// listing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "listing/line_table.h"

// The ranges the compile dialogue takes, the same for --tap.
constexpr int BytesPerLine = 10;
constexpr int32_t HighestAddress = 65535;
constexpr int NumberDigits = 5;  // digits an answer may have
// The most bytes lineCount lines hold.
constexpr int32_t HighestByteCount(int16_t lineCount) {
  return BytesPerLine * (lineCount > 0 ? lineCount : 0);
}

// currentLine comes back as the first faulty line, or 1 once an image was written.
void CompileTape(int32_t& currentLine, int16_t lineCount, const LineTable& lines,
                 const std::string& fileName);

// The first byteCount bytes of the listing, ten from each line in table order; none when a
// line they come from is not 20 hexadecimal digits or the lines hold fewer bytes.
std::optional<std::string> TakeListingBytes(const LineTable& lines, int16_t lineCount,
                                            int32_t byteCount);

// Every line is checked, also those beyond the bytes asked for: 0 when all are correct, else the
// first faulty one.
int FirstFaultyLine(int16_t lineCount, const LineTable& lines);

// The summary's second row: the padded name between quotes, the dump address and the bytes.
std::string ProgramSummary(std::string_view programName, int32_t dumpAddress, int32_t byteCount);
