#pragma once
// Which lines the recogniser read are listing lines, and which of their symbols are the line
// number, the data and the checksum. Headings and other text are not listing lines.

#include <optional>
#include <vector>

#include "scan/page_reading.h"

struct LineSymbols {
  std::vector<ReadSymbol> number, data, checksum;
};

// None for a line that is not a listing line. The data may be printed as one word or in
// groups; the number is the first word and the checksum the last.
std::optional<LineSymbols> SplitReadLine(const ReadLine& line);
