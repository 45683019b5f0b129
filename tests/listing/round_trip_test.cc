// Whatever the table holds, what a save writes loads back as the same table.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "listing/loader.h"
#include "listing/save_listing.h"
#include "platform/temp_dir.h"

namespace {

// Text for a field: any byte but blanks and line ends (the table never holds those), none of
// a to f in the data (the loader takes those as A to F).
std::string RandomField(std::mt19937& random, size_t longest, std::string_view alphabet) {
  std::string field(random() % (longest + 1), ' ');
  for (char& c : field) c = alphabet[random() % alphabet.size()];
  return field;
}

TEST(SavedListing, LoadsBackAsTheSameTable) {
  std::mt19937 random(20261208);
  const std::string data = "0123456789ABCDEFGOZx\x01\x7f\xe9\xef\xbb\xbf";
  const std::string checksum = "0123456789$abcdefGOx\x1b\xe9";
  TempDir dir;
  for (int run = 0; run < 300; ++run) {
    LineTable saved, loaded;
    const int count = 1 + static_cast<int>(random() % 12);
    for (int line = 1; line <= count; ++line) {
      std::string number = std::to_string(line);
      if (random() % 4 == 0) number.insert(0, 1 + random() % (5 - number.size()), '0');
      ASSERT_TRUE(AppendLine(saved,
                             JoinListingLine(number, RandomField(random, MaxDataLength, data),
                                             RandomField(random, MaxChecksumLength, checksum)),
                             1 << 20));
    }
    ASSERT_FALSE(SaveListing(saved, dir / "juego.txt"));
    const LoadListener nothingToAsk{
        .renumber = [](const WrongNumber&) { return std::optional<std::string>(); },
        .fillGap = [](const MissingLines&) { return std::optional<bool>(); },
        .skipped = [](int fileLine) { ADD_FAILURE() << "line " << fileLine << " left out"; }};
    const LoadResult result = LoadListing(dir / "juego.txt", "", 1 << 20, loaded, nothingToAsk);
    ASSERT_FALSE(result.failure) << ListingText(saved);
    ASSERT_EQ(ListingText(loaded), ListingText(saved));
  }
}

}  // namespace
