#include "scan/look_alikes.h"

#include <algorithm>

namespace {

constexpr std::string_view HexDigits = "0123456789ABCDEF";

// Letters and signs the recogniser names for the digits of a printed listing.
struct Stand {
  std::string_view text;
  int value;
};
constexpr Stand Stands[] = {
    {"O", 0},  {"o", 0},  {"Q", 0},  {"@", 0},  {"I", 1},  {"l", 1},  {"|", 1},  {"i", 1},
    {"]", 1},  {"[", 1},  {"!", 1},  {"Z", 2},  {"z", 2},  {"S", 5},  {"s", 5},  {"$", 5},
    {"§", 5},  {"G", 6},  {"b", 6},  {"T", 7},  {"/", 7},  {"g", 9},  {"q", 9},  {"a", 10},
    {"c", 12}, {"¢", 12}, {"(", 12}, {"€", 14}, {"£", 14}, {"e", 14}, {"f", 15},
};

// Pairs printed so alike that one is read for the other, both ways.
constexpr int LookAlikePairs[][2] = {{0, 13}, {0, 8}, {8, 11},  {6, 11},
                                     {3, 8},  {1, 7}, {14, 15}, {5, 6}};

int Limit(DigitKind kind) { return kind == DigitKind::Hex ? 16 : 10; }

}  // namespace

std::optional<int> DigitOf(std::string_view text, DigitKind kind) {
  std::optional<int> value;
  if (text.size() == 1 && HexDigits.find(text[0]) != std::string_view::npos)
    value = static_cast<int>(HexDigits.find(text[0]));
  for (const Stand& stand : Stands)
    if (stand.text == text) value = stand.value;
  // A checksum or a line number has no letters: B and D there are 8 and 0.
  if (kind == DigitKind::Decimal && value == 11) value = 8;
  if (kind == DigitKind::Decimal && value == 13) value = 0;
  if (value && *value >= Limit(kind)) return std::nullopt;
  return value;
}

DigitOptions OptionsOf(const ReadSymbol& symbol, DigitKind kind) {
  DigitOptions options;
  auto offer = [&](int value, float cost) {
    for (DigitOption& option : options)
      if (option.value == value) {
        option.cost = std::min(option.cost, cost);
        return;
      }
    options.push_back({value, cost});
  };
  for (const ReadChoice& choice : symbol.choices)
    if (const std::optional<int> value = DigitOf(choice.text, kind)) offer(*value, choice.cost);
  if (options.empty()) {
    for (int value = 0; value < Limit(kind); ++value) offer(value, UnreadCost);
    return options;
  }
  std::stable_sort(options.begin(), options.end(),
                   [](const DigitOption& a, const DigitOption& b) { return a.cost < b.cost; });
  const int read = options.front().value;
  const float base = options.front().cost;
  for (const auto& pair : LookAlikePairs)
    for (int side = 0; side < 2; ++side)
      if (pair[side] == read && pair[1 - side] < Limit(kind))
        offer(pair[1 - side], base + LookAlikeCost);
  std::stable_sort(options.begin(), options.end(),
                   [](const DigitOption& a, const DigitOption& b) { return a.cost < b.cost; });
  return options;
}

char ReadDigit(const ReadSymbol& symbol, DigitKind kind) {
  for (const ReadChoice& choice : symbol.choices)
    if (const std::optional<int> value = DigitOf(choice.text, kind))
      return HexDigits[static_cast<size_t>(*value)];
  return '?';
}
