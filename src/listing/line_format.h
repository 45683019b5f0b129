#pragma once
// A listing line: a line number, BytesPerLine bytes as hexadecimal digits, and their decimal
// sum. In memory and in a saved listing it is "number data checksum" with single blanks. The
// line's shape is set here once; every other floor derives from it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

constexpr int BytesPerLine = 10;
constexpr int DataDigits = 2 * BytesPerLine;
constexpr int MaxSum = 255 * BytesPerLine;
constexpr int MaxNumberLength = 5;
constexpr int MaxChecksumLength = 10;
constexpr int MaxLineLength = 60;  // what one line block holds
// What is left of a line for its data: the number, the checksum and two blanks take the rest.
constexpr int MaxDataLength = MaxLineLength - MaxNumberLength - MaxChecksumLength - 2;
constexpr int MaxRawLineLength = 255;  // characters of a file line that are split
// Shorter file lines without a line number are no lines of the listing: only the backup has them.
constexpr int MinRawLineLength = 10;

struct ListingFields {
  std::string number;    // at most MaxNumberLength characters
  std::string data;      // at most MaxDataLength
  std::string checksum;  // at most MaxChecksumLength
};

// A line as typed: blanks or tabs around and inside the data are allowed. Two tokens only, the
// second not a checksum (CanBeChecksum), are the number and the data without a checksum. A
// line just as a save writes it splits as saved, whichever of its fields is empty.
ListingFields SplitRawLine(std::string_view raw);
// The same into fields that keep their storage, for the loader's thousands of lines.
void SplitRawLine(std::string_view raw, ListingFields& fields);
// The line's first token, blanks and tabs around it left out; empty for a blank line.
std::string_view FirstField(std::string_view raw);
// 1 to 4 decimal digits (leading zeros aside): what a typist writes as a line's number.
bool IsLineNumberField(std::string_view field);
// 1 to 4 decimal digits, or "$" and 1 to 4 hexadecimal digits: a typed checksum.
bool CanBeChecksum(std::string_view field);

// A line in stored form: number, one blank, data, one blank, checksum.
ListingFields SplitStoredLine(std::string_view line);
std::string JoinListingLine(std::string_view number, std::string_view data,
                            std::string_view checksum);
void JoinListingLine(std::string_view number, std::string_view data, std::string_view checksum,
                     std::string& line);
inline std::string JoinListingLine(const ListingFields& fields) {
  return JoinListingLine(fields.number, fields.data, fields.checksum);
}

// The line a listing leaves out: its number and twenty zeros, with no checksum, so that the
// line still shows as one to type and no tape is made with it as it is.
std::string ZeroLine(int lineNumber);

// 0-9 and A-F only; typed lower-case digits are faults until retyped.
bool IsHexDigit(char c);
// The value of a digit IsHexDigit accepts.
inline int HexDigitValue(char c) { return c < 'A' ? c - '0' : c - 'A' + 10; }
uint8_t HexByte(char high, char low);

// The one rule by which GRAVIX reads a text as a number: blanks and tabs in front, an
// optional sign, "$" for hexadecimal or "%" for binary, nothing after the digits.
std::optional<int32_t> TextToInteger(std::string_view text);
