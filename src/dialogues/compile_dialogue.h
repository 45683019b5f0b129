#pragma once
// Compiling the listing on the editor screen: every line is checked, then the program name,
// the dump address, the byte count and the start address of a loader (none: no loader) are
// asked in the message area, and the tape image is written beside the listing. Escape at any
// question leaves with nothing written.

#include <optional>
#include <string>

#include "console/console.h"
#include "listing/line_table.h"

// currentLine comes back as the first faulty line, or 1 once an image was written. An image that
// could not be written is a notice; the run's end comes back when the console is gone.
std::optional<RunEnd> CompileTape(int& currentLine, const LineTable& table,
                                  const std::string& fileName);
