#pragma once
// What the forms for scripts share: their exit statuses, their error lines, and reading the
// listing as the loader reads it without asking anything.

#include <string>
#include <string_view>
#include <vector>

#include "listing/line_table.h"
#include "platform/platform.h"

// 0 done; 1 the listing has problems or cannot be read; 2 the command line is wrong.
constexpr int BatchDone = 0;
constexpr int BatchListingFault = 1;
constexpr int BatchMisuse = 2;

// "ERROR: <message>." on standard error: the fatal error's words, as one plain line.
void PrintError(std::string_view message);
// A wrong command line: the reason on standard error, and where to look. Exit status 2.
int PrintMisuse(std::string_view reason);
// Ends the printing: status, or the Runtime error of a failed write.
int FinishBatch(int status);
// A file that could not be read or written: "Runtime error <code>", and code as the status.
int EndWithRuntimeError(IoFailure failure);

// A numbering problem the loader would ask about, or a slip it mends on its own; without a
// user to ask, a wrong number takes the expected one and missing lines become zero lines, so
// the lines after keep their numbers.
struct NumberingProblem {
  enum Kind { WrongNumber, MissingLines, Copy, Split } kind;
  int fileLine;          // the raw line of the file, from 1
  std::string number;    // the number field as typed
  int expected;          // the number the line had to carry; for Copy and Split, the line it is
  bool readable = true;  // the number field reads as a number
  int lastMissing = 0;   // lines expected..lastMissing are missing
};

// The listing read into table, or the status of why not (the reason already printed).
struct BatchListing {
  int status = BatchDone;
  std::vector<NumberingProblem> problems;
  std::vector<int> skippedLines;  // file lines that are no lines of the listing
  bool full = false;              // lines beyond the table's room were left out
};
BatchListing ReadListingQuietly(const std::string& fileName, LineTable& table);

// "Linea 4 del fichero: no es una linea del listado".
std::string SkippedLineText(int fileLine);
