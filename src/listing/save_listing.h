#pragma once
// Writing the line table back over the listing file, one stored line per text line, each
// ended with the platform's line end.

#include <optional>
#include <string>

#include "listing/line_table.h"
#include "platform/platform.h"

// The text a save writes for the table's first lineCount lines (all of them when negative).
std::string ListingText(const LineTable& table, int lineCount = -1);

// Replaces the file with ListingText whole or not at all. A table without lines writes nothing:
// a listing whose lines were all dropped by the loader is not replaced by an empty file.
std::optional<IoFailure> SaveListing(const LineTable& table, const std::string& fileName);
