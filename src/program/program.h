#pragma once
// The program run: start-up, the loader, the editor, and the normal end.

#include <string>
#include <vector>

// arguments: the command line without the program's own name. Never returns: every end goes
// through EndRun or EndWithIoError.
[[noreturn]] void RunGravix(const std::vector<std::string>& arguments);
