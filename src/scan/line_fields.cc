#include "scan/line_fields.h"

#include "scan/look_alikes.h"

namespace {

constexpr size_t MaxNumberSymbols = 5;
constexpr size_t MaxChecksumSymbols = 5;
constexpr size_t FewestDataSymbols = 16;
constexpr size_t MostDataSymbols = 24;

size_t Digits(const std::vector<ReadSymbol>& symbols, DigitKind kind) {
  size_t count = 0;
  for (const ReadSymbol& symbol : symbols)
    if (DigitOf(symbol.choices.front().text, kind)) ++count;
  return count;
}

}  // namespace

std::optional<LineSymbols> SplitReadLine(const ReadLine& line) {
  if (line.words.size() < 3) return std::nullopt;
  LineSymbols fields;
  fields.number = line.words.front().symbols;
  fields.checksum = line.words.back().symbols;
  for (size_t k = 1; k + 1 < line.words.size(); ++k)
    fields.data.insert(fields.data.end(), line.words[k].symbols.begin(),
                       line.words[k].symbols.end());
  if (fields.number.size() > MaxNumberSymbols || fields.checksum.size() > MaxChecksumSymbols)
    return std::nullopt;
  if (fields.data.size() < FewestDataSymbols || fields.data.size() > MostDataSymbols)
    return std::nullopt;
  // Most of what is read as data must at least look like hexadecimal digits.
  if (Digits(fields.data, DigitKind::Hex) * 5 < fields.data.size() * 4) return std::nullopt;
  return fields;
}
