#pragma once
// A line table filled the way the loader fills it, released when the test ends.

#include <memory>
#include <string>
#include <vector>

#include "listing/line_table.h"
#include "platform/platform.h"

struct TestListing {
  std::unique_ptr<LineTable> table = std::make_unique<LineTable>();

  explicit TestListing(const std::vector<std::string>& lines) {
    LoadBudget budget{1 << 20, 1};
    for (const std::string& line : lines)
      if (!AddLine(*table, static_cast<int16_t>(table->count + 1), line, budget)) ++table->count;
  }
  ~TestListing() { FreeLineTable(table->count, *table); }
  int16_t Count() const { return table->count; }
  std::string Line(int index) const { return std::string(LineText(*table, index)); }
};

// Lines 1..count, each a correct zero line.
inline std::vector<std::string> ZeroLines(int count) {
  std::vector<std::string> lines;
  for (int line = 1; line <= count; ++line) lines.push_back(ZeroLine(line));
  return lines;
}

// A text file as this platform writes it: each line followed by its line end.
inline std::string TextFile(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + std::string(LineEnd());
  return text;
}
