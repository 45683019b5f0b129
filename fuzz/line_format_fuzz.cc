// Any file line, split and joined: fields within their bounds, the stored form at most 60
// characters and split back into the same fields, numbers read as strtoll reads them.
#include "fuzz_check.h"
#include <cerrno>
#include <cstdlib>
#include <string>

#include "listing/line_format.h"

namespace {

// What TextToInteger must agree with, written independently on top of strtoll.
std::optional<int32_t> ReferenceInteger(std::string text) {
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return std::nullopt;
  text.erase(0, start);
  std::string sign;
  if (text[0] == '+' || text[0] == '-') {
    sign = text.substr(0, 1);
    text.erase(0, 1);
  }
  int base = 10;
  if (!text.empty() && (text[0] == '$' || text[0] == '%')) {
    base = text[0] == '$' ? 16 : 2;
    text.erase(0, 1);
  }
  const std::string digits = base == 16 ? "0123456789abcdefABCDEF" : base == 2 ? "01" : "0123456789";
  if (text.empty() || text.find_first_not_of(digits) != std::string::npos) return std::nullopt;
  text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
  if (text.size() > 40) return std::nullopt;
  errno = 0;
  const long long value = std::strtoll((sign + text).c_str(), nullptr, base);
  if (errno != 0 || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string input(reinterpret_cast<const char*>(bytes), size);
  const std::string raw = input.substr(0, MaxRawLineLength);
  const ListingFields fields = SplitRawLine(raw);
  Check(fields.number.size() <= MaxNumberLength);
  Check(fields.data.size() <= MaxDataLength);
  Check(fields.checksum.size() <= MaxChecksumLength);
  Check(fields.data.find(' ') == std::string::npos);

  const std::string stored = JoinListingLine(fields.number, fields.data, fields.checksum);
  Check(stored.size() <= MaxLineLength);
  const ListingFields again = SplitStoredLine(stored);
  Check(again.number == fields.number && again.data == fields.data && again.checksum == fields.checksum);

  const ListingFields any = SplitStoredLine(input);  // never beyond its bounds either
  Check(any.number.size() <= MaxNumberLength && any.data.size() <= MaxDataLength &&
         any.checksum.size() <= MaxChecksumLength);

  const int16_t sum = DataChecksum(fields.data);
  Check(sum >= -6 && sum <= 2550 && sum != -3);
  Check((sum >= 0) == (fields.data.size() == DataDigits &&
                        fields.data.find_first_not_of("0123456789ABCDEF") == std::string::npos));

  Check(TextToInteger(input) == ReferenceInteger(input));
  return 0;
}
