#pragma once
// Writing the line table back over the listing file, one stored line per text line.

#include <cstdint>
#include <string>

#include "listing/line_table.h"

void SaveListing(int16_t lineCount, const LineTable& lines, const std::string& fileName);
