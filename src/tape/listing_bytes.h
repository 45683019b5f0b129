#pragma once
// What a listing gives a tape image: its bytes, ten from each line in table order, once every
// line is correct; and the ranges the answers about the image take.

#include <cstdint>
#include <optional>
#include <string>

#include "listing/line_table.h"

constexpr int32_t HighestAddress = 65535;
constexpr int NumberDigits = 5;  // digits an answer may have
// The most bytes a table holds.
constexpr int32_t HighestByteCount(const LineTable& table) {
  return BytesPerLine * (table.count > 0 ? table.count : 0);
}

// Every line is checked, also those beyond the bytes asked for: 0 when all are correct, else
// the first faulty one.
int FirstFaultyLine(const LineTable& table);

// The first byteCount bytes of the listing; none when a line they come from is not
// well-formed data or the lines hold fewer bytes.
std::optional<std::string> TakeListingBytes(const LineTable& table, int32_t byteCount);
