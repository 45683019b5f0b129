#pragma once
// The program run: the plain forms for scripts, or start-up, the loader, the editor and the
// normal end on the screen.

#include <string>
#include <vector>

#include "console/console.h"

// arguments: the command line without the program's own name. Returns how the run ends, for
// EndRun: a plain form's exit status, or the screen's end.
RunEnd RunGravix(const std::vector<std::string>& arguments);
