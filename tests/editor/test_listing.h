#pragma once
// Line tables filled the way the loader fills them, and the editor run on them.
#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "console/memory/memory_console.h"
#include "editor/editor.h"
#include "listing/line_check.h"
#include "listing/line_format.h"
#include "listing/line_table.h"

static_assert(!std::is_copy_constructible_v<LineTable>, "a copy would share the table's lines");

struct TestListing {
  std::unique_ptr<LineTable> table = std::make_unique<LineTable>();
  explicit TestListing(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) AppendLine(*table, line, 1 << 20);
  }
  int Count() const { return table->count; }
};

// A correct line of twenty zeros, as a typist types it (the loader's own zero lines have no
// checksum yet).
inline std::string TypedZeroLine(int line) {
  return std::to_string(line) + " 00000000000000000000 0";
}

// The bytes k * 7 + 3 (k from 0), and correct lines 1..lineCount holding them (or zeros).
inline std::string PatternBytes(int count) {
  std::string bytes;
  for (int k = 0; k < count; ++k) bytes.push_back(static_cast<char>(k * 7 + 3));
  return bytes;
}
inline std::vector<std::string> PatternLines(int lineCount, bool zeros = false) {
  std::vector<std::string> lines;
  const std::string bytes = PatternBytes(lineCount * 10);
  for (int line = 1; line <= lineCount; ++line) {
    char data[21];
    for (int k = 0; k < 10; ++k)
      std::snprintf(data + 2 * k, 3, "%02X", bytes[line * 10 - 10 + k] & 0xFF);
    lines.push_back(zeros ? TypedZeroLine(line)
                          : std::to_string(line) + " " + data + " " +
                                std::to_string(CheckLine(data, "").sum));
  }
  return lines;
}

// Runs the editor until it leaves (true) or the keys run out, as a terminal's input ends (false).
inline bool RunKeys(MemoryConsole& screen, const TestListing& listing, const std::string& keys,
                    const std::string& file = "none.txt") {
  screen.Keys(keys);
  return !RunEditor({file, GetFileStamp(file)}, *listing.table);
}
