// The loader over any bytes: the backup is the file's lines byte for byte, every stored line
// splits and joins back to itself, and what a save writes loads back as the same table.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "listing/loader.h"
#include "listing/save_listing.h"

namespace {

std::string ReadBytes(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

void Check(bool fact) {
  if (!fact) std::abort();
}

// The backup as a plain reading of its rule: each line whole, ended by this platform's end; a
// UTF-8 mark in front stays.
std::string ExpectedBackup(std::string_view bytes) {
  std::string backup;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    backup = "\xEF\xBB\xBF";
    bytes.remove_prefix(3);
  }
  while (!bytes.empty()) {
    const size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
    backup.append(bytes.substr(0, end)).append(LineEnd());
    const bool pair = end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n';
    bytes.remove_prefix(std::min(bytes.size(), end + (pair ? 2 : 1)));
  }
  return backup;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::ofstream("listing.txt", std::ios::binary | std::ios::trunc) << bytes;
  std::remove("listing.bak");
  auto table = std::make_unique<LineTable>();
  // The answers a user might give: the expected number, zero lines at even lines, a
  // renumbering at odd ones.
  const LoadListener answers{
      .renumber =
          [](const WrongNumber& found) {
            return std::optional<std::string>(std::to_string(found.expected));
          },
      .fillGap =
          [](const MissingLines& missing) {
            return std::optional<bool>(missing.fileLine % 2 == 0);
          }};
  const LoadResult loaded = LoadListing("listing.txt", "listing.bak", 1 << 22, *table, answers);
  Check(!loaded.failure);
  Check(ReadBytes("listing.bak") == ExpectedBackup(bytes));
  for (int line = 1; line <= table->count; ++line) {
    const std::string_view text = LineText(*table, line);
    Check(JoinListingLine(SplitStoredLine(text)) == text);
  }
  if (table->count == 0) return 0;
  Check(!SaveListing(*table, "saved.txt"));
  auto again = std::make_unique<LineTable>();
  const LoadListener nothingToAsk{
      .renumber = [](const WrongNumber&) -> std::optional<std::string> { std::abort(); },
      .fillGap = [](const MissingLines&) -> std::optional<bool> { std::abort(); },
      .mended = [](const Mended&) { std::abort(); },
      .skipped = [](int) { std::abort(); }};
  const LoadResult reloaded = LoadListing("saved.txt", "", 1 << 22, *again, nothingToAsk);
  Check(!reloaded.failure);
  Check(ListingText(*again) == ListingText(*table));
  return 0;
}
