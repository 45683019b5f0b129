#pragma once
// What the passes over a page say about each listing line, and what is written for it.

#include <optional>
#include <string>
#include <vector>

#include "scan/line_repair.h"
#include "scan/page_reading.h"

struct LineEvidence {
  std::optional<int> readNumber;
  int top = 0;
  std::string readData, readChecksum;  // as read, look-alike letters made digits, else "?"
  Repair repair;
  float leastConfidence = 0;  // the recogniser's, over the line's data and checksum symbols
};

// The listing lines of a page, top to bottom.
std::vector<LineEvidence> PageEvidence(const std::vector<PageReading>& passes);

// The line as written: its checksum kept only when the reading is sure; the repaired data
// without a checksum when it adds up only doubtfully; else the line as read.
struct WrittenFields {
  std::string data, checksum;
};
WrittenFields WrittenLine(const LineEvidence& line);
