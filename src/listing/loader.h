#pragma once
// Reading a listing file into the line table: every raw line is copied to the backup file,
// every usable line is stored, and broken numbering is repaired in a dialogue with the user.
// An existing backup is kept when the listing is exactly what GRAVIX saves for the lines it
// loads: that backup holds the typing from before the save, which may have lost some of it.

#include <string>

#include "listing/line_table.h"

// Fills the empty table from fileName and sets its count. Talks to the user in scrolling text
// from the cursor on when the numbering is broken, and pauses at the end only then.
void LoadListing(const std::string& fileName, LineTable& table, LoadBudget& budget);
