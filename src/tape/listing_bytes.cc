#include "tape/listing_bytes.h"

#include "listing/line_check.h"

// A listing with a wrong line is never compiled, whatever the byte count asked later.
int FirstFaultyLine(const LineTable& table) {
  for (int line = 1; line <= table.count; ++line)
    if (!CheckLine(SplitStoredLine(LineText(table, line))).Correct()) return line;
  return 0;
}

std::optional<std::string> TakeListingBytes(const LineTable& table, int32_t byteCount) {
  if (byteCount < 0 || byteCount > HighestByteCount(table)) return std::nullopt;
  std::string bytes;
  bytes.reserve(static_cast<size_t>(byteCount));
  for (int line = 1; static_cast<int32_t>(bytes.size()) < byteCount; ++line) {
    const std::string data = SplitStoredLine(LineText(table, line)).data;
    // Only hexadecimal pairs make bytes.
    if (!CheckLine(data, "").DataWellFormed()) return std::nullopt;
    for (int j = 0; j < BytesPerLine && static_cast<int32_t>(bytes.size()) < byteCount; ++j)
      bytes.push_back(static_cast<char>(HexByte(data[2 * j], data[2 * j + 1])));
  }
  return bytes;
}
