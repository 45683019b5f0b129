#pragma once
// Loading the listing on the screen, below the banner: the loader's findings about the
// numbering are asked in scrolling text (a wrong number is retyped, missing lines become zero
// lines or the line is renumbered), an activity indicator flickers while lines are stored, a
// full table is summed up, and a pause ends the load whenever anything was shown.

#include <cstdint>
#include <optional>
#include <string>

#include "console/console.h"
#include "listing/line_table.h"

// Fills the empty table from fileName, backing it up under backupName (none when empty). The
// run's end comes back instead when it must end before the editor: the file or the backup
// failed, or Ctrl+C at a question.
std::optional<RunEnd> LoadListingOnScreen(const std::string& fileName,
                                          const std::string& backupName, LineTable& table,
                                          uint32_t indicatorSeed);
