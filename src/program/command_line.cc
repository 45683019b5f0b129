#include "program/command_line.h"

#include "program/usage.h"

ListingName GetInputFileName(const std::vector<std::string>& arguments, ListingUse use) {
  if (arguments.empty()) return {"", ShowUsage()};
  if (arguments.size() > 1) return {"", FatalError("Demasiados parametros")};
  // The whole argument names the file; only what is shown of it is cut.
  const ListingFileCheck check = CheckListingFile(arguments[0], use);
  if (check.failure) return {"", EndByFailure(*check.failure)};
  if (check.fault != ListingFault::None)
    return {"", FatalError(ListingFaultText(check.fault, arguments[0]))};
  return {arguments[0], std::nullopt};
}
