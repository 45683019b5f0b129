#pragma once
// The listing's name from the command line.

#include <string>
#include <vector>

// Checks the arguments (the program's own name excluded) and the listing file; returns the
// name, whole, or ends the program with the help text or a fatal error.
std::string GetInputFileName(const std::vector<std::string>& arguments);

// The same for a listing to be typed from scratch: the file must not exist yet, and its folder
// must take it.
std::string GetNewFileName(const std::vector<std::string>& arguments);
