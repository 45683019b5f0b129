#include "listing/save_listing.h"

std::string ListingText(const LineTable& table, int lineCount) {
  if (lineCount < 0 || lineCount > table.count) lineCount = table.count;
  std::string text;
  text.reserve(static_cast<size_t>(lineCount) * 32);
  for (int index = 1; index <= lineCount; ++index) {
    text += LineText(table, index);
    text += LineEnd();
  }
  return text;
}

std::optional<IoFailure> SaveListing(const LineTable& table, const std::string& fileName) {
  if (table.count <= 0) return std::nullopt;
  return ReplaceFileSafely(fileName, ListingText(table));
}
