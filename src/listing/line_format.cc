#include "listing/line_format.h"

#include <algorithm>
#include <cctype>

ListingFields SplitRawLine(std::string_view raw) {
  ListingFields fields;
  SplitRawLine(raw, fields);
  return fields;
}

namespace {

// Typists separate the fields with tabs as often as with blanks.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// Just as a save writes a line: number, one blank, data, one blank, checksum, no tab. Read that
// way a saved line loads back as it was, whichever of its fields is empty.
bool InSavedForm(std::string_view raw) {
  return !raw.empty() && raw[0] != ' ' && raw.find('\t') == std::string_view::npos &&
         std::count(raw.begin(), raw.end(), ' ') == 2;
}

void Assign(std::string& field, std::string_view text, size_t maxLength) {
  field.assign(text.substr(0, std::min(text.size(), maxLength)));
}

}  // namespace

std::string_view FirstField(std::string_view raw) {
  size_t start = 0;
  while (start < raw.size() && IsBlank(raw[start])) ++start;
  size_t end = start;
  while (end < raw.size() && !IsBlank(raw[end])) ++end;
  return raw.substr(start, end - start);
}

bool IsLineNumberField(std::string_view field) {
  if (field.empty() || !std::all_of(field.begin(), field.end(), IsDecimalDigit)) return false;
  const size_t firstDigit = std::min(field.find_first_not_of('0'), field.size());
  return field.size() - firstDigit <= 4;
}

bool CanBeChecksum(std::string_view field) {
  const bool hexadecimal = field.starts_with('$');
  if (hexadecimal) field.remove_prefix(1);
  return !field.empty() && field.size() <= 4 &&
         std::all_of(field.begin(), field.end(), [&](char c) {
           return IsDecimalDigit(c) ||
                  (hexadecimal && std::isxdigit(static_cast<unsigned char>(c)));
         });
}

void SplitRawLine(std::string_view raw, ListingFields& fields) {
  fields.data.clear();
  fields.checksum.clear();
  raw = raw.substr(0, std::min<size_t>(raw.size(), MaxRawLineLength));
  if (InSavedForm(raw)) {
    const size_t first = raw.find(' '), second = raw.find(' ', first + 1);
    Assign(fields.number, raw.substr(0, first), MaxNumberLength);
    Assign(fields.data, raw.substr(first + 1, second - first - 1), MaxDataLength);
    Assign(fields.checksum, raw.substr(second + 1), MaxChecksumLength);
    return;
  }
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
  // A second and last token that cannot be a checksum is the data typed without one.
  if (tokenStart == dataStart && !CanBeChecksum(raw.substr(tokenStart, tokenEnd - tokenStart))) {
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
  return std::to_string(lineNumber) + " " + std::string(DataDigits, '0') + " ";
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
