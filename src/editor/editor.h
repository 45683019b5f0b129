#pragma once
// The editor's command loop: moving through the listing, editing the data and checksum
// fields of the current line, jumping, help pages, saving, compiling and quitting.

#include <optional>
#include <string>

#include "console/console.h"
#include "listing/line_table.h"

// The listing file the editor works on.
struct EditorFile {
  std::string name;
  FileStamp loaded = {};       // the file as it was when loaded (missing for a new listing)
  bool keepsRecovery = false;  // this run holds the claim on the recovery file
};

// Returns when the user leaves the editor: none, or how the run must end instead (an end
// signal, the console gone), once the work not yet saved is in the recovery file. Lines are
// edited in place; Insert appends one, and an appended line left empty goes again.
std::optional<RunEnd> RunEditor(const EditorFile& file, LineTable& table);
