#pragma once
// What a recognised character stands for in a listing line, and which digits are printed so
// alike that one is read for the other.

#include <optional>
#include <string_view>
#include <vector>

#include "scan/page_reading.h"

enum class DigitKind { Hex, Decimal };  // the data; the line number and the checksum

// "0" to "9" and "A" to "F" as themselves; the letters the recogniser gives for digits (O and Q
// for 0, I and l for 1, S for 5, ...) as those digits. None for anything else.
std::optional<int> DigitOf(std::string_view text, DigitKind kind);

// Costs of taking a symbol for a digit it may not have been read as: one of the recogniser's
// alternatives costs its own cost, a look-alike of the reading it did not offer costs
// LookAlikeCost, and where it offered no digit at all every digit costs UnreadCost.
constexpr float LookAlikeCost = 30;
constexpr float UnreadCost = 45;

struct DigitOption {
  int value;
  float cost;
};
using DigitOptions = std::vector<DigitOption>;  // the cheapest first, each value once

DigitOptions OptionsOf(const ReadSymbol& symbol, DigitKind kind);

// The digit the symbol was read as (its likeliest choice that is a digit), or '?'.
char ReadDigit(const ReadSymbol& symbol, DigitKind kind);
