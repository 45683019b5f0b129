#pragma once
// What is wrong with a listing line, worked out once: the editor colours it, --check words it,
// the compiler refuses it, the typo finder starts from it.

#include <cstdint>
#include <optional>
#include <string_view>

#include "listing/line_format.h"

enum class DataLength { Right, TooShort, TooLong };
enum class ChecksumState {
  Missing,     // nothing typed
  Unreadable,  // typed, but not a number
  Differs,     // a number, but not the sum (or the data have no sum)
  Matches,
};

struct LineCheck {
  uint64_t badCharacters = 0;  // bit k: data character k (from 0) is not 0-9 or A-F
  DataLength length = DataLength::Right;
  int sum = -1;  // the bytes' sum, 0 to MaxSum, when the data are well formed; else -1
  std::optional<int32_t> typed;  // the checksum field read as a number
  ChecksumState checksum = ChecksumState::Missing;

  bool BadCharacter(size_t k) const { return (badCharacters >> k) & 1; }
  bool DataWellFormed() const { return sum >= 0; }
  // A line the compiler takes: well-formed data and a checksum that reads as their sum.
  bool Correct() const { return checksum == ChecksumState::Matches; }
};
static_assert(MaxDataLength <= 64, "one bit per data character");

LineCheck CheckLine(std::string_view data, std::string_view checksum);
inline LineCheck CheckLine(const ListingFields& fields) {
  return CheckLine(fields.data, fields.checksum);
}
