#pragma once
// Compiling the listing: every line is checked, then the program name, the dump address and
// the byte count are asked in the message area, and the tape image is written beside the
// listing.

#include <cstdint>
#include <optional>
#include <string>

#include "listing/line_table.h"

// currentLine comes back as the first faulty line, or 1 once an image was written.
void CompileTape(int32_t& currentLine, int16_t lineCount, const LineTable& lines,
                 const std::string& fileName);

// The first byteCount bytes of the listing, ten from each line in table order; none when a
// line they come from is not 20 hexadecimal digits or the lines hold fewer bytes.
std::optional<std::string> TakeListingBytes(const LineTable& lines, int16_t lineCount,
                                            int32_t byteCount);
