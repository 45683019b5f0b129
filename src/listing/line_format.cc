#include "listing/line_format.h"

#include <algorithm>

ListingFields SplitRawLine(std::string_view raw) {
  ListingFields fields;
  SplitRawLine(raw, fields);
  return fields;
}

namespace {

// Typists separate the fields with tabs as often as with blanks.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

void SplitRawLine(std::string_view raw, ListingFields& fields) {
  fields.data.clear();
  fields.checksum.clear();
  raw = raw.substr(0, std::min<size_t>(raw.size(), MaxRawLineLength));
  const size_t size = raw.size();
  size_t position = 0;
  while (position < size && IsBlank(raw[position])) ++position;
  const size_t numberStart = position;
  while (position < size && !IsBlank(raw[position])) ++position;
  fields.number.assign(
      raw.substr(numberStart, std::min<size_t>(position - numberStart, MaxNumberLength)));
  while (position < size && IsBlank(raw[position])) ++position;
  const size_t dataStart = position;

  // The checksum is the last token, read from the end of the line.
  size_t tokenEnd = size;
  while (tokenEnd > 0 && IsBlank(raw[tokenEnd - 1])) --tokenEnd;
  size_t tokenStart = tokenEnd;
  while (tokenStart > 0 && !IsBlank(raw[tokenStart - 1])) --tokenStart;
  // A line of one token has only a number: the same characters never count twice.
  if (tokenStart <= numberStart) return;
  // A second and last token too long for a checksum is the data typed without one; cutting
  // it to a checksum would lose the digits.
  if (tokenStart == dataStart && tokenEnd - tokenStart > MaxChecksumLength) {
    fields.data.assign(
        raw.substr(tokenStart, std::min<size_t>(tokenEnd - tokenStart, MaxDataLength)));
    return;
  }
  fields.checksum.assign(
      raw.substr(tokenStart, std::min<size_t>(tokenEnd - tokenStart, MaxChecksumLength)));

  // The data run up to the blank in front of the checksum; cut first, blanks removed after.
  if (dataStart < tokenStart) {
    const std::string_view data =
        raw.substr(dataStart, std::min<size_t>(tokenStart - dataStart, MaxDataLength));
    for (char c : data)
      if (!IsBlank(c)) fields.data += c;
  }
}

ListingFields SplitStoredLine(std::string_view line) {
  ListingFields fields;
  size_t blank = std::min(line.find(' '), line.size());
  fields.number = line.substr(0, std::min<size_t>(blank, MaxNumberLength));
  if (blank == line.size()) return fields;
  line.remove_prefix(blank + 1);
  blank = std::min(line.find(' '), line.size());
  fields.data = line.substr(0, std::min<size_t>(blank, MaxDataLength));
  if (blank == line.size()) return fields;
  line.remove_prefix(blank + 1);
  fields.checksum = line.substr(0, MaxChecksumLength);
  return fields;
}

std::string JoinListingLine(std::string_view number, std::string_view data,
                            std::string_view checksum) {
  std::string line;
  JoinListingLine(number, data, checksum, line);
  return line;
}

// Sized once and filled in place: five appends cost more than the copying itself.
void JoinListingLine(std::string_view number, std::string_view data, std::string_view checksum,
                     std::string& line) {
  line.resize(number.size() + data.size() + checksum.size() + 2);
  char* out = line.data();
  out = std::copy(number.begin(), number.end(), out);
  *out++ = ' ';
  out = std::copy(data.begin(), data.end(), out);
  *out++ = ' ';
  std::copy(checksum.begin(), checksum.end(), out);
  if (line.size() > MaxLineLength) line.resize(MaxLineLength);
}

std::string ZeroLine(int lineNumber) {
  return std::to_string(lineNumber) + " 00000000000000000000 0";
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

uint8_t HexByte(char high, char low) {
  return static_cast<uint8_t>(HexDigitValue(high) * 16 + HexDigitValue(low));
}

std::optional<int32_t> TextToInteger(std::string_view text) {
  size_t position = 0;
  while (position < text.size() && IsBlank(text[position])) ++position;
  bool negative = false;
  if (position < text.size() && (text[position] == '+' || text[position] == '-'))
    negative = text[position++] == '-';
  int base = 10;
  if (position < text.size() && text[position] == '$') {
    base = 16;
    ++position;
  } else if (position < text.size() && text[position] == '%') {
    base = 2;
    ++position;
  }
  if (position == text.size()) return std::nullopt;
  const int64_t limit = negative ? int64_t{2147483648} : int64_t{2147483647};
  int64_t value = 0;
  for (; position < text.size(); ++position) {
    const char c = text[position];
    int digit = 99;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}
