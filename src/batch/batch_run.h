#pragma once
// What the forms for scripts share: their exit statuses, their error lines, and reading the
// listing as the loader reads it without asking anything.

#include <string>
#include <string_view>

#include "listing/line_table.h"
#include "listing/loader.h"

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
// A file that could not be written: "Runtime error <code>", and code as the exit status.
int EndWithRuntimeError(int code);

// The listing read into table, or the status of why not (the reason already printed).
struct BatchListing {
  int status = BatchDone;
  LoadReport report;
};
BatchListing ReadListingQuietly(const std::string& fileName, LineTable& table);
