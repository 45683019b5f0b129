#include "program/command_line.h"

#include <optional>

#include "listing/listing_file.h"
#include "program/usage.h"

namespace {

std::string GetFileName(const std::vector<std::string>& arguments, ListingUse use) {
  if (arguments.empty()) ShowUsage();
  if (arguments.size() > 1) FatalError("Demasiados parametros");
  // The whole argument names the file; only what is shown of it is cut.
  if (const std::optional<std::string> problem = ListingFileProblem(arguments[0], use))
    FatalError(*problem);
  return arguments[0];
}

}  // namespace

std::string GetInputFileName(const std::vector<std::string>& arguments) {
  return GetFileName(arguments, ListingUse::Edit);
}

std::string GetNewFileName(const std::vector<std::string>& arguments) {
  return GetFileName(arguments, ListingUse::Create);
}
