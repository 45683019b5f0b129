#pragma once
// The editor's command loop: moving through the listing, editing the data and checksum
// fields of the current line, jumping, help pages, saving, compiling and quitting.

#include <cstdint>
#include <string>

#include "listing/line_table.h"

// Returns when the user leaves the editor. The line count never changes.
void RunEditor(const std::string& fileName, int16_t lineCount, LineTable& lines);
