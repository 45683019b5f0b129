#pragma once
// Compiling the listing on the editor screen: every line is checked, then the program name,
// the dump address and the byte count are asked in the message area, and the tape image is
// written beside the listing.

#include <optional>
#include <string>

#include "console/console.h"
#include "listing/line_table.h"

// currentLine comes back as the first faulty line, or 1 once an image was written. The run's
// end comes back instead when it must end (the console is gone, the image could not be written).
std::optional<RunEnd> CompileTape(int& currentLine, const LineTable& table,
                                  const std::string& fileName);
