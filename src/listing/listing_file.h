#pragma once
// Whether the named file can serve as the listing for what a run does with it, and if not, why,
// in the words the user is shown.

#include <optional>
#include <string>

enum class ListingUse {
  Edit,    // read, then saved over: it must exist, be read and take writing
  Read,    // only read (--check, --tap)
  Create,  // typed from scratch: it must not exist, and its folder must take it
};

// None when the file will do; else the message, such as "El fichero "x.txt" no existe". The
// whole name is used, though the message may later be cut for showing.
std::optional<std::string> ListingFileProblem(const std::string& fileName, ListingUse use);
