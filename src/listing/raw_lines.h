#pragma once
// The listing file read whole, then taken one raw line at a time. A line ends at a line feed,
// a carriage return, or both; every other byte (NUL included) is an ordinary character. A
// UTF-8 byte-order mark opening the file is no part of the first line.

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

struct RawLines {
  std::string bytes;  // the whole file
  size_t position = 0;
  bool markSkipped = false;  // the file began with a byte-order mark
  // What ended the line just read: "\n", "\r" or "\r\n"; empty when the file did.
  std::string_view lineEnd;
};

std::optional<IoFailure> ReadRawLines(const std::string& fileName, RawLines& lines);

// The next line, without its end and cut to its first MaxRawLineLength characters; false after
// the last.
bool NextRawLine(RawLines& lines, std::string_view& raw);

// What the backup holds: every line of the file whole, each followed by the platform's line
// end, a byte-order mark kept where it was.
std::string BackupText(const RawLines& lines);
