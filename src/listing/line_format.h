#pragma once
// A listing line: a line number, 20 hexadecimal digits (10 bytes) and their decimal sum.
// In memory and in a saved listing it is "number data checksum" with single blanks.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

constexpr int MaxRawLineLength = 255;  // characters of a file line that are split
constexpr int MinRawLineLength = 10;   // shorter file lines are only copied to the backup
constexpr int MaxNumberLength = 5;
constexpr int MaxDataLength = 43;
constexpr int MaxChecksumLength = 10;
constexpr int MaxLineLength = 60;  // 5 + 1 + 43 + 1 + 10
constexpr int DataDigits = 20;

// Fault codes of DataChecksum; a bad character adds to a wrong length (-5, -6).
constexpr int16_t DataTooLong = -1;
constexpr int16_t DataTooShort = -2;
constexpr int16_t DataBadChar = -4;

struct ListingFields {
  std::string number;    // at most 5 characters
  std::string data;      // at most 43
  std::string checksum;  // at most 10
};

// A line as typed: blanks or tabs around and inside the data are allowed. Two tokens only,
// the second longer than a checksum field, are the number and the data without a checksum.
ListingFields SplitRawLine(std::string_view raw);
// The same into fields that keep their storage, for the loader's thousands of lines.
void SplitRawLine(std::string_view raw, ListingFields& fields);
// A line in stored form: number, one blank, data, one blank, checksum.
ListingFields SplitStoredLine(std::string_view line);
std::string JoinListingLine(std::string_view number, std::string_view data,
                            std::string_view checksum);
void JoinListingLine(std::string_view number, std::string_view data, std::string_view checksum,
                     std::string& line);

// Line number followed by twenty zeros and a zero checksum: the line a listing leaves out.
std::string ZeroLine(int lineNumber);

// 0-9 and A-F only; typed lower-case digits are faults until retyped.
bool IsHexDigit(char c);
uint8_t HexByte(char high, char low);
// The sum of the 10 bytes (0 to 2550), or a negative fault code.
int16_t DataChecksum(std::string_view data);

// The one rule by which GRAVIX reads a text as a number: blanks and tabs in front, an
// optional sign, "$" for hexadecimal or "%" for binary, nothing after the digits.
std::optional<int32_t> TextToInteger(std::string_view text);

// A line is correct when its data are well formed and its checksum reads as their sum.
bool IsCorrectLine(const ListingFields& fields);
