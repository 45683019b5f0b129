#pragma once
// The editor's command loop: moving through the listing, editing the data and checksum
// fields of the current line, jumping, help pages, saving, compiling and quitting.

#include <string>

#include "listing/line_table.h"

// Returns when the user leaves the editor. Lines are edited in place; Insert appends one, and
// an appended line left empty goes again.
void RunEditor(const std::string& fileName, LineTable& lines);
