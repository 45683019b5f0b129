#include "scan/line_evidence.h"

#include <algorithm>
#include <cstdlib>

#include "scan/line_fields.h"
#include "scan/look_alikes.h"

namespace {

// A sure reading is cheap, clearly cheaper than the next one that adds up, and read with
// confidence; thresholds set on pages apart from those the figures are measured on.
constexpr float MaxSureCost = 20;
constexpr float LeastMargin = 15;
constexpr float LeastConfidence = 60;
// Another pass's reading as cheap as this vetoes a sure one.
constexpr float MaxDissentCost = 10;
// A line the first pass doubted is taken from the second only with a wider margin.
constexpr float SecondPassMargin = 10;
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

PassReading ReadingOf(const ReadLine& read, const LineSymbols& fields) {
  PassReading line;
  line.number = NumberOf(ReadDigits(fields.number, DigitKind::Decimal));
  line.top = read.top;
  line.bottom = read.bottom;
  line.data = ReadDigits(fields.data, DigitKind::Hex);
  line.checksum = ReadDigits(fields.checksum, DigitKind::Decimal);
  line.repair = RepairLine(Options(fields.data, DigitKind::Hex),
                           Options(fields.checksum, DigitKind::Decimal));
  line.leastConfidence = 100;
  for (const auto* part : {&fields.data, &fields.checksum})
    for (const ReadSymbol& symbol : *part)
      line.leastConfidence = std::min(line.leastConfidence, symbol.confidence);
  return line;
}

// Two readings are of the same printed line when they share most of their height.
bool SameLine(const PassReading& a, const PassReading& b) {
  const int shared = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return shared * 2 > std::min(a.bottom - a.top, b.bottom - b.top);
}

// ...or when they repair to the same data close by, wherever each pass put the line's box.
bool SameData(const PassReading& a, const PassReading& b) {
  const int height = std::max(a.bottom - a.top, b.bottom - b.top);
  return a.repair.best && b.repair.best && a.repair.best->data == b.repair.best->data &&
         std::abs(a.top - b.top) < 2 * height;
}

bool IsSure(const PassReading& reading, float extraMargin) {
  const Repair& repair = reading.repair;
  if (!repair.best) return false;
  const float margin = repair.runnerUp ? repair.runnerUp->cost - repair.best->cost : 1e9f;
  return repair.best->cost <= MaxSureCost && margin >= LeastMargin + extraMargin &&
         reading.leastConfidence >= LeastConfidence;
}

}  // namespace

std::vector<LineEvidence> PageEvidence(const std::vector<PageReading>& passes) {
  std::vector<LineEvidence> lines;
  for (size_t pass = 0; pass < passes.size(); ++pass)
    for (const ReadLine& read : passes[pass].lines) {
      const std::optional<LineSymbols> fields = SplitReadLine(read);
      if (!fields) continue;
      PassReading reading = ReadingOf(read, *fields);
      reading.pass = static_cast<int>(pass);
      // Lines of one pass are different lines, even where their data are the same.
      const auto same = std::find_if(lines.begin(), lines.end(), [&](const LineEvidence& line) {
        const PassReading& first = line.readings.front();
        return line.readings.back().pass != reading.pass &&
               (SameLine(first, reading) || SameData(first, reading));
      });
      if (same != lines.end()) {
        same->readings.push_back(std::move(reading));
        continue;
      }
      const auto below = std::find_if(lines.begin(), lines.end(), [&](const LineEvidence& line) {
        return line.readings.front().top > reading.top;
      });
      lines.insert(below, LineEvidence{{std::move(reading)}});
    }
  return lines;
}

WrittenFields WrittenLine(const LineEvidence& line) {
  const PassReading* cheapest = nullptr;
  for (const PassReading& reading : line.readings)
    if (reading.repair.best &&
        (!cheapest || reading.repair.best->cost < cheapest->repair.best->cost))
      cheapest = &reading;
  const PassReading& first = line.readings.front();
  if (!cheapest || cheapest->repair.best->cost > MaxRepairCost) return {first.data, first.checksum};

  // The first pass reads best: it decides, unless another pass reads the line otherwise and
  // as cheaply. A line it doubted or missed needs a clearer reading from the second pass.
  const PassReading* sure = nullptr;
  if (IsSure(first, 0)) {
    sure = &first;
    for (const PassReading& other : line.readings)
      if (other.repair.best && other.repair.best->data != first.repair.best->data &&
          other.repair.best->cost <= MaxDissentCost)
        sure = nullptr;
  } else if (line.readings.size() > 1 && IsSure(line.readings[1], SecondPassMargin) &&
             (!first.repair.best ||
              first.repair.best->data == line.readings[1].repair.best->data)) {
    sure = &line.readings[1];
  }
  if (sure) return {sure->repair.best->data, std::to_string(sure->repair.best->checksum)};
  return {cheapest->repair.best->data, ""};
}
