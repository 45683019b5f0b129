#include "listing/line_table.h"

#include <algorithm>
#include <cstring>

#include "console/console.h"

namespace {

// The indicator's three frames, chosen at random with equal chances.
uint8_t NextIndicatorFrame(uint32_t& state) {
  state = state * 1103515245u + 12345u;
  return static_cast<uint8_t>('<' + (state >> 16) % 3);
}

// The free-memory test comes before the index test. True when stored.
bool StoreLine(LineTable& table, int index, std::string_view text, LoadBudget& budget) {
  if (budget.freeBytes < LineBlockSize) return false;
  if (index < 1 || index > MaxLines) return false;
  // Each entry is filled once; a second store reuses its block rather than leaking it.
  if (!table.lines[index - 1]) {
    table.lines[index - 1] = std::make_unique<LineBlock>();
    budget.freeBytes -= LineBlockSize;
  }
  SetLineText(table, index, text);
  return true;
}

}  // namespace

bool AddLineQuietly(LineTable& table, int16_t index, std::string_view text, LoadBudget& budget) {
  return !StoreLine(table, index, text, budget);
}

bool AddLine(LineTable& table, int16_t index, std::string_view text, LoadBudget& budget) {
  if (AddLineQuietly(table, index, text, budget)) return true;
  WriteChar(NextIndicatorFrame(budget.randomState));
  WriteChar(8);
  FlushConsoleIfDue();
  return false;
}

bool AppendLine(LineTable& table, std::string_view text, int64_t freeBytes) {
  LoadBudget budget{freeBytes, 0};
  if (!StoreLine(table, table.count + 1, text, budget)) return false;
  ++table.count;
  return true;
}

void DropLastLine(LineTable& table) {
  if (table.count > 0) table.lines[--table.count].reset();
}

std::string_view LineText(const LineTable& table, int index) {
  const LineBlock* block = table.lines[index - 1].get();
  return block ? std::string_view(block->text, block->length) : std::string_view();
}

void SetLineText(LineTable& table, int index, std::string_view text) {
  LineBlock* block = table.lines[index - 1].get();
  block->length = static_cast<uint8_t>(std::min<size_t>(text.size(), MaxLineLength));
  std::memcpy(block->text, text.data(), block->length);
}

void FreeLineTable(LineTable& table) {
  for (auto& line : table.lines) line.reset();
  table.count = 0;
}
