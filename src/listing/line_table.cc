#include "listing/line_table.h"

#include <algorithm>
#include <cstring>

bool AddLine(LineTable& table, int index, std::string_view text, int64_t& freeBytes) {
  if (freeBytes < LineBlockSize) return false;
  if (index < 1 || index > MaxLines) return false;
  // Each entry is filled once; a second store reuses its block rather than leaking it.
  if (!table.lines[index - 1]) {
    table.lines[index - 1] = std::make_unique<LineBlock>();
    freeBytes -= LineBlockSize;
  }
  SetLineText(table, index, text);
  return true;
}

bool AppendLine(LineTable& table, std::string_view text, int64_t freeBytes) {
  if (!AddLine(table, table.count + 1, text, freeBytes)) return false;
  ++table.count;
  return true;
}

void DropLastLine(LineTable& table) {
  if (table.count > 0) table.lines[--table.count].reset();
}

void RemoveLine(LineTable& table, int index) {
  if (index < 1 || index > table.count) return;
  std::move(table.lines.begin() + index, table.lines.begin() + table.count,
            table.lines.begin() + index - 1);
  table.lines[--table.count].reset();
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
