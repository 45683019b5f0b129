#pragma once
// What the passes over a page say about each listing line, and what is written for it.

#include <optional>
#include <string>
#include <vector>

#include "scan/line_repair.h"
#include "scan/page_reading.h"

// One pass's reading of a listing line.
struct PassReading {
  int pass = 0;
  std::optional<int> number;
  int top = 0, bottom = 0;
  std::string data, checksum;  // as read, look-alike letters made digits, else "?"
  Repair repair;
  float leastConfidence = 0;  // the recogniser's, over the line's data and checksum symbols
  bool byGlyphs = false;      // read cell by cell against the page's own glyphs
};

struct LineEvidence {
  std::vector<PassReading> readings;  // one for each pass that found the line
};

// The listing lines of a page, top to bottom: a line found by any pass is a line.
std::vector<LineEvidence> PageEvidence(const std::vector<PageReading>& passes);

// The line as written: its checksum kept only when the reading is sure; the repaired data
// without a checksum when it adds up only doubtfully; else the line as read.
struct WrittenFields {
  std::string data, checksum;
  std::optional<int> number;  // as the reading the checksum was kept from read it
};
WrittenFields WrittenLine(const LineEvidence& line);
