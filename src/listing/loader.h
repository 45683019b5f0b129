#pragma once
// Reading a listing file into the line table: every raw line is copied to the backup file,
// every usable line is stored, and broken numbering is repaired in a dialogue with the user.
// An existing backup is kept when the listing is exactly what GRAVIX saves for the lines it
// loads: that backup holds the typing from before the save, which may have lost some of it.

#include <cstdint>
#include <string>
#include <vector>

#include "listing/line_table.h"

// Fills the empty table from fileName and sets its count. Talks to the user in scrolling text
// from the cursor on when the numbering is broken, and pauses at the end only then.
void LoadListing(const std::string& fileName, LineTable& table, LoadBudget& budget);

// A numbering problem the loader would ask about.
struct NumberingProblem {
  int fileLine;         // the raw line of the file, from 1
  std::string number;   // the number field as typed
  int32_t expected;     // the number the line had to carry
  bool readable;        // the number field reads as a number
  int32_t lastMissing;  // above 0: lines expected..lastMissing are missing
};

struct LoadReport {
  std::vector<NumberingProblem> problems;
  bool full = false;  // lines beyond the table's room were left out
};

// Reads and stores the listing exactly as LoadListing does, but shows, asks and writes
// nothing: each numbering problem is noted and settled without a question (a wrong number
// takes the expected one, missing lines become zero lines).
LoadReport LoadQuietly(const std::string& fileName, LineTable& table, LoadBudget& budget);
