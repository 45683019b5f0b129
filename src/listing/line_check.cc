#include "listing/line_check.h"

LineCheck CheckLine(std::string_view data, std::string_view checksum) {
  LineCheck check;
  for (size_t k = 0; k < data.size() && k < MaxDataLength; ++k)
    if (!IsHexDigit(data[k])) check.badCharacters |= uint64_t{1} << k;
  if (data.size() < DataDigits) check.length = DataLength::TooShort;
  if (data.size() > DataDigits) check.length = DataLength::TooLong;
  if (check.badCharacters == 0 && check.length == DataLength::Right) {
    check.sum = 0;
    for (size_t k = 0; k < DataDigits; k += 2) check.sum += HexByte(data[k], data[k + 1]);
  }
  check.typed = TextToInteger(checksum);
  if (checksum.empty())
    check.checksum = ChecksumState::Missing;
  else if (!check.typed)
    check.checksum = ChecksumState::Unreadable;
  else  // only a sum can be matched: a checksum of -1 is no match for data without one
    check.checksum = check.sum >= 0 && *check.typed == check.sum ? ChecksumState::Matches
                                                                 : ChecksumState::Differs;
  return check;
}
