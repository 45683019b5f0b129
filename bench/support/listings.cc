#include "support/listings.h"

#include <cstdio>
#include <fstream>

#include "listing/line_check.h"

std::string DataDigitsOf(int lineNumber) {
  uint32_t state = static_cast<uint32_t>(lineNumber) * 2654435761u;
  std::string digits;
  for (int i = 0; i < DataDigits; ++i) {
    state = state * 1103515245u + 12345u;
    digits.push_back("0123456789ABCDEF"[(state >> 16) & 15]);
  }
  return digits;
}

std::string CorrectLine(int lineNumber) {
  const std::string data = DataDigitsOf(lineNumber);
  return JoinListingLine(std::to_string(lineNumber), data, std::to_string(CheckLine(data, "").sum));
}

std::string ListingText(int lineCount) {
  std::string text;
  for (int line = 1; line <= lineCount; ++line) text += CorrectLine(line) + "\n";
  return text;
}

void WriteListing(const std::filesystem::path& path, int lineCount) {
  std::ofstream(path, std::ios::binary) << ListingText(lineCount);
}

std::string DefbSource(int lineCount) {
  std::string source = "\torg 0\n";
  for (int line = 1; line <= lineCount; ++line) {
    const std::string data = DataDigitsOf(line);
    source += "\tdefb ";
    for (int i = 0; i < DataDigits; i += 2) {
      source += i == 0 ? "0" : ",0";
      source += data.substr(static_cast<size_t>(i), 2) + "h";
    }
    source += "\n";
  }
  return source;
}

std::filesystem::path FastDirectory() {
  std::error_code error;
  if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}
