#pragma once
// The listing's name from the command line.

#include <optional>
#include <string>
#include <vector>

#include "console/console.h"
#include "listing/listing_file.h"

struct ListingName {
  std::string name;
  std::optional<RunEnd> end;  // the help or a fatal error was shown instead
};

// Checks the arguments (the program's own name excluded) and the listing file for use; the
// name, whole, or the help text or a fatal error shown and the run's end.
ListingName GetInputFileName(const std::vector<std::string>& arguments, ListingUse use);
