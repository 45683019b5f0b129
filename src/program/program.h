#pragma once
// The program run: the plain forms for scripts, or start-up, the loader, the editor and the
// normal end on the screen.

#include <string>
#include <vector>

// arguments: the command line without the program's own name. Returns the exit status of a
// plain form; a run on the screen never returns: every end goes through the console's ends.
int RunGravix(const std::vector<std::string>& arguments);
