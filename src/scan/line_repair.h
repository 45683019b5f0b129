#pragma once
// The checksum-guided repair: of all the readings of a line that its symbols allow, the two
// cheapest whose ten bytes add up to a reading of its checksum. A reading costs what its
// symbols' choices cost, plus a symbol dropped or put in where the data or the checksum were
// read one digit too long or too short.

#include <optional>
#include <string>
#include <vector>

#include "scan/look_alikes.h"

constexpr float DropCost = 40;  // a symbol read that was not printed
// ...where it was no digit at all, the same digit as a neighbour (the recogniser's way of
// reading one printed digit twice) or the first or last of the data or the checksum.
constexpr float CheapDropCost = 20;
constexpr float InsertCost = 40;  // a digit printed that was not read (any digit)

struct Reading {
  std::string data;  // 20 hexadecimal digits
  int checksum = 0;
  float cost = 0;
};

struct Repair {
  std::optional<Reading> best;  // none: no reading within reach adds up
  std::optional<Reading> runnerUp;
};

// data: the symbols read between the number and the checksum (19 to 21 of them are tried).
Repair RepairLine(const std::vector<DigitOptions>& data, const std::vector<DigitOptions>& checksum);
