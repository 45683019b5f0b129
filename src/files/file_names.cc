#include "files/file_names.h"

#include "platform/platform.h"

std::string RemoveExtension(std::string_view fileName) {
  size_t end = fileName.size();
  for (size_t i = fileName.size(); i-- > 0;) {
    const char c = fileName[i];
    if (c == '.') {
      end = i;
      break;
    }
    if (c == '/' || c == '\\') break;
  }
  return std::string(fileName.substr(0, end));
}

std::string DerivedFileName(const std::string& fileName, std::string_view extension) {
  // X.BAK on a disk blind to case, or a link to the listing, is the listing too: writing it
  // would empty the listing.
  auto isListing = [&](const std::string& name) {
    return name == fileName || SameFile(name, fileName);
  };
  std::string name = RemoveExtension(fileName).append(extension);
  if (isListing(name)) name = fileName;
  while (isListing(name)) name.append(extension);
  return name;
}
