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

}  // namespace

bool AddLine(LineTable& table, int16_t index, std::string_view text, LoadBudget& budget) {
  if (budget.freeBytes < LineBlockSize) return true;
  if (index < 1 || index > MaxLines) return true;
  // Each entry is filled once; a second store reuses its block rather than leaking it.
  if (!table.lines[index - 1]) {
    table.lines[index - 1] = std::make_unique<LineBlock>();
    budget.freeBytes -= LineBlockSize;
  }
  SetLineText(table, index, text);
  WriteChar(NextIndicatorFrame(budget.randomState));
  WriteChar(8);
  FlushConsoleIfDue();
  return false;
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
