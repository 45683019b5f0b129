#pragma once
// The listing's name from the command line, and names derived from it.

#include <string>
#include <string_view>
#include <vector>

// Checks the arguments (the program's own name excluded) and the listing file; returns the
// name, whole, or ends the program with the help text or a fatal error.
std::string GetInputFileName(const std::vector<std::string>& arguments);

// The name without its last extension: prog.txt gives prog, a.b.c gives a.b; a dot in a
// directory name (dir.x/prog) is never taken for one.
std::string RemoveExtension(std::string_view fileName);
