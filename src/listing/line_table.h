#pragma once
// The listing in memory: up to 5000 lines, each in a 61-byte block of its own, allocated as
// it is stored. Entry i always carries line number i.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "listing/line_format.h"

constexpr int MaxLines = 5000;
constexpr int LineBlockSize = MaxLineLength + 1;

struct LineBlock {
  uint8_t length;
  char text[MaxLineLength];
};
static_assert(sizeof(LineBlock) == LineBlockSize);

// Owns its blocks. A copy would mean two listings edited as one, so there is none.
struct LineTable {
  LineTable() = default;
  LineTable(const LineTable&) = delete;
  LineTable& operator=(const LineTable&) = delete;

  std::array<std::unique_ptr<LineBlock>, MaxLines> lines{};  // entry i is lines[i - 1]
  int count = 0;
};

// Stores text (cut to 60 characters) as entry index, a block taken from freeBytes. True when
// stored; false when freeBytes is below one block or index is beyond the table (memory is
// tested first). The count is the caller's.
bool AddLine(LineTable& table, int index, std::string_view text, int64_t& freeBytes);

// A line typed into the editor after the last one, under the same limits as a loaded one;
// freeBytes is read at the time. True when appended (count grows by one).
bool AppendLine(LineTable& table, std::string_view text, int64_t freeBytes);
// Removes the last line again (an appended line left empty).
void DropLastLine(LineTable& table);
// Takes entry index out: the entries after it move up one, count goes down by one. The numbers
// in their texts are the caller's to change.
void RemoveLine(LineTable& table, int index);

std::string_view LineText(const LineTable& table, int index);
// Rewrites an existing entry in its own block (the editor's edits).
void SetLineText(LineTable& table, int index, std::string_view text);

// Releases every line and empties the table.
void FreeLineTable(LineTable& table);
