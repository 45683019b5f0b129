#include "scan/line_repair.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

#include "listing/line_format.h"

namespace {

constexpr int MaxSum = 2550;
constexpr float Never = std::numeric_limits<float>::infinity();
constexpr size_t MaxChecksumDigits = 4;
constexpr std::string_view HexDigits = "0123456789ABCDEF";

using Symbols = std::vector<DigitOptions>;

DigitOptions AnyDigit(int count, float cost) {
  DigitOptions options;
  for (int value = 0; value < count; ++value) options.push_back({value, cost});
  return options;
}

float DropCostOf(const Symbols& symbols, size_t k) {
  const DigitOption& read = symbols[k].front();
  const bool twice = (k > 0 && symbols[k - 1].front().value == read.value) ||
                     (k + 1 < symbols.size() && symbols[k + 1].front().value == read.value);
  // The wide gap between the data and a short checksum is sometimes read as a digit.
  const bool edge = k == 0 || k + 1 == symbols.size();
  return read.cost >= UnreadCost || twice || edge ? CheapDropCost : DropCost;
}

// The symbols as read, and with one dropped or one put in where that makes the count right.
std::vector<std::pair<Symbols, float>> Variants(const Symbols& symbols, size_t shortest,
                                                size_t longest, const DigitOptions& anyDigit) {
  std::vector<std::pair<Symbols, float>> variants;
  if (symbols.size() >= shortest && symbols.size() <= longest) variants.push_back({symbols, 0});
  for (size_t k = 0; k < symbols.size() && symbols.size() - 1 >= shortest; ++k) {
    if (symbols.size() - 1 > longest) break;
    Symbols shorter = symbols;
    shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(k));
    variants.push_back({shorter, DropCostOf(symbols, k)});
  }
  for (size_t k = 0; k <= symbols.size() && symbols.size() + 1 <= longest; ++k) {
    if (symbols.size() + 1 < shortest) break;
    Symbols longer = symbols;
    longer.insert(longer.begin() + static_cast<std::ptrdiff_t>(k), anyDigit);
    variants.push_back({longer, InsertCost});
  }
  return variants;
}

// The cheapest reading of each checksum value.
std::vector<float> ChecksumCosts(const Symbols& symbols) {
  std::vector<float> costs(MaxSum + 1, Never);
  auto walk = [&](auto& self, const Symbols& digits, size_t at, int value, float cost) -> void {
    if (value > MaxSum) return;
    if (at == digits.size()) {
      float& best = costs[static_cast<size_t>(value)];
      best = std::min(best, cost);
      return;
    }
    for (const DigitOption& option : digits[at])
      self(self, digits, at + 1, value * 10 + option.value, cost + option.cost);
  };
  for (const auto& [digits, cost] : Variants(symbols, 1, MaxChecksumDigits, AnyDigit(10, 0)))
    walk(walk, digits, 0, 0, cost);
  return costs;
}

// The two cheapest ways to reach a sum after some digits, each remembering where it came from.
struct Step {
  float cost = Never;
  int16_t previousSum = -1;
  uint8_t previousRank = 0;
  uint8_t option = 0;
};
using Ranks = std::array<Step, 2>;

void Offer(Ranks& ranks, const Step& step) {
  if (step.cost < ranks[0].cost) {
    ranks[1] = ranks[0];
    ranks[0] = step;
  } else if (step.cost < ranks[1].cost) {
    ranks[1] = step;
  }
}

// The two cheapest readings of exactly 20 symbols whose sum has a checksum reading, each
// with that checksum: a walk over the digits with the running sum as its state.
void CheapestTwo(const Symbols& digits, float extra, const std::vector<float>& checksumCosts,
                 std::vector<Reading>& found) {
  const size_t sums = MaxSum + 1;
  std::vector<Ranks> table((DataDigits + 1) * sums);
  auto at = [&](size_t place, int sum) -> Ranks& {
    return table[place * sums + static_cast<size_t>(sum)];
  };
  at(0, 0)[0] = {extra, -1, 0, 0};
  for (size_t place = 0; place < DataDigits; ++place) {
    const int weight = place % 2 == 0 ? 16 : 1;
    for (int sum = 0; sum <= MaxSum; ++sum)
      for (uint8_t rank = 0; rank < 2; ++rank) {
        const Step& from = at(place, sum)[rank];
        if (from.cost == Never) continue;
        for (size_t k = 0; k < digits[place].size(); ++k) {
          const DigitOption& option = digits[place][k];
          const int next = sum + option.value * weight;
          if (next > MaxSum) continue;
          Offer(at(place + 1, next), {from.cost + option.cost, static_cast<int16_t>(sum), rank,
                                      static_cast<uint8_t>(k)});
        }
      }
  }
  // The two cheapest ends, counting each end's checksum reading.
  struct End {
    float cost;
    int sum;
    uint8_t rank;
  };
  std::array<End, 2> ends{End{Never, 0, 0}, End{Never, 0, 0}};
  for (int sum = 0; sum <= MaxSum; ++sum)
    for (uint8_t rank = 0; rank < 2; ++rank) {
      const float cost = at(DataDigits, sum)[rank].cost + checksumCosts[static_cast<size_t>(sum)];
      if (cost < ends[0].cost) {
        ends[1] = ends[0];
        ends[0] = {cost, sum, rank};
      } else if (cost < ends[1].cost) {
        ends[1] = {cost, sum, rank};
      }
    }
  for (const End& end : ends) {
    if (end.cost == Never) continue;
    Reading reading{std::string(DataDigits, '0'), end.sum, end.cost};
    int sum = end.sum;
    uint8_t rank = end.rank;
    for (size_t place = DataDigits; place > 0; --place) {
      const Step& step = at(place, sum)[rank];
      reading.data[place - 1] =
          HexDigits[static_cast<size_t>(digits[place - 1][step.option].value)];
      sum = step.previousSum;
      rank = step.previousRank;
    }
    found.push_back(std::move(reading));
  }
}

}  // namespace

Repair RepairLine(const Symbols& data, const Symbols& checksum) {
  const std::vector<float> checksumCosts = ChecksumCosts(checksum);
  std::vector<Reading> found;
  for (const auto& [digits, cost] : Variants(data, DataDigits, DataDigits, AnyDigit(16, 0)))
    CheapestTwo(digits, cost, checksumCosts, found);
  std::stable_sort(found.begin(), found.end(),
                   [](const Reading& a, const Reading& b) { return a.cost < b.cost; });
  Repair repair;
  for (Reading& reading : found) {
    if (!repair.best) {
      repair.best = std::move(reading);
    } else if (reading.data != repair.best->data) {
      repair.runnerUp = std::move(reading);
      break;
    }
  }
  return repair;
}
