// Any file line, split and joined: fields within their bounds and free of blanks, the stored
// form at most 60 characters and split back into the same fields, checksums and numbers read as
// they must be.
#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "listing/line_format.h"
#include "program_checks.h"

namespace {

// What TextToInteger must agree with, written independently on top of strtoll: blanks, a sign,
// $ for hexadecimal or % for binary, digits only, within 32 bits.
std::optional<int32_t> ReferenceInteger(std::string text) {
  text.erase(0, std::min(text.find_first_not_of(" \t"), text.size()));
  const std::string sign = text.starts_with('+') || text.starts_with('-') ? text.substr(0, 1) : "";
  text.erase(0, sign.size());
  const int base = text.starts_with('$') ? 16 : text.starts_with('%') ? 2 : 10;
  text.erase(0, base == 10 ? 0 : 1);
  const char* digits = base == 16 ? "0123456789abcdefABCDEF" : base == 2 ? "01" : "0123456789";
  if (text.empty() || text.find_first_not_of(digits) != std::string::npos) return std::nullopt;
  errno = 0;
  const long long value = std::strtoll((sign + text).c_str(), nullptr, base);
  if (errno != 0 || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string input(reinterpret_cast<const char*>(bytes), size);
  const ListingFields fields = SplitRawLine(input.substr(0, MaxRawLineLength));
  const ListingFields any = SplitStoredLine(input);  // never beyond its bounds either
  for (const ListingFields& split : {fields, any})
    Check(split.number.size() <= MaxNumberLength && split.data.size() <= MaxDataLength &&
          split.checksum.size() <= MaxChecksumLength);
  for (const std::string& field : {fields.number, fields.data, fields.checksum})
    Check(field.find_first_of(" \t") == std::string::npos);  // tabs are blanks too

  const std::string stored = JoinListingLine(fields.number, fields.data, fields.checksum);
  const ListingFields again = SplitStoredLine(stored);
  Check(stored.size() <= MaxLineLength && again.number == fields.number &&
        again.data == fields.data && again.checksum == fields.checksum);

  const int16_t sum = DataChecksum(fields.data);
  Check(sum >= -6 && sum <= 2550 && sum != -3);
  Check((sum >= 0) == (fields.data.size() == DataDigits &&
                       fields.data.find_first_not_of("0123456789ABCDEF") == std::string::npos));
  Check(TextToInteger(input) == ReferenceInteger(input));
  return 0;
}
