#include "scan/line_evidence.h"

#include <algorithm>

#include "scan/line_fields.h"
#include "scan/look_alikes.h"

namespace {

// A sure reading is cheap, clearly cheaper than the next one that adds up, and read with
// confidence; thresholds set on pages apart from those the figures are measured on.
constexpr float MaxSureCost = 20;
constexpr float LeastMargin = 25;
constexpr float LeastConfidence = 60;
// A dearer repair still gives the editor better data than the reading it started from.
constexpr float MaxRepairCost = 90;

std::string ReadDigits(const std::vector<ReadSymbol>& symbols, DigitKind kind) {
  std::string digits;
  for (const ReadSymbol& symbol : symbols) digits += ReadDigit(symbol, kind);
  return digits;
}

std::vector<DigitOptions> Options(const std::vector<ReadSymbol>& symbols, DigitKind kind) {
  std::vector<DigitOptions> options;
  for (const ReadSymbol& symbol : symbols) options.push_back(OptionsOf(symbol, kind));
  return options;
}

std::optional<int> NumberOf(const std::string& digits) {
  if (digits.empty() || digits.size() > 5 || digits.find('?') != std::string::npos)
    return std::nullopt;
  return std::stoi(digits);
}

}  // namespace

std::vector<LineEvidence> PageEvidence(const std::vector<PageReading>& passes) {
  std::vector<LineEvidence> lines;
  if (passes.empty()) return lines;
  for (const ReadLine& read : passes.front().lines) {
    const std::optional<LineSymbols> fields = SplitReadLine(read);
    if (!fields) continue;
    LineEvidence line;
    line.readNumber = NumberOf(ReadDigits(fields->number, DigitKind::Decimal));
    line.top = read.top;
    line.readData = ReadDigits(fields->data, DigitKind::Hex);
    line.readChecksum = ReadDigits(fields->checksum, DigitKind::Decimal);
    line.repair = RepairLine(Options(fields->data, DigitKind::Hex),
                             Options(fields->checksum, DigitKind::Decimal));
    line.leastConfidence = 100;
    for (const auto* part : {&fields->data, &fields->checksum})
      for (const ReadSymbol& symbol : *part)
        line.leastConfidence = std::min(line.leastConfidence, symbol.confidence);
    lines.push_back(std::move(line));
  }
  return lines;
}

WrittenFields WrittenLine(const LineEvidence& line) {
  const std::optional<Reading>& best = line.repair.best;
  if (!best || best->cost > MaxRepairCost) return {line.readData, line.readChecksum};
  const float margin = line.repair.runnerUp ? line.repair.runnerUp->cost - best->cost : 1e9f;
  const bool sure =
      best->cost <= MaxSureCost && margin >= LeastMargin && line.leastConfidence >= LeastConfidence;
  return {best->data, sure ? std::to_string(best->checksum) : ""};
}
