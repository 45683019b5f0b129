#pragma once
// The editor's command loop: moving through the listing, editing the data and checksum
// fields of the current line, jumping, help pages, saving, compiling and quitting.

#include <optional>
#include <string>

#include "console/console.h"
#include "listing/line_table.h"

// Returns when the user leaves the editor: none, or how the run must end instead (the console
// is gone). Lines are edited in place; Insert appends one, and an
// appended line left empty goes again.
// loaded: the listing file as it was when loaded (missing for a new listing).
std::optional<RunEnd> RunEditor(const std::string& fileName, const FileStamp& loaded,
                                LineTable& table);
