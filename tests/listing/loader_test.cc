// The loader's answers to the user and to memory: a line renumbered upwards leaves a gap to ask
// about, and lines memory has no room for go to the backup only.
#include "listing/loader.h"

#include <gtest/gtest.h>

#include <string>

#include "listing/save_listing.h"
#include "platform/platform.h"
#include "platform/temp_dir.h"

namespace {

const std::string End(LineEnd()), Data = " 00112233445566778899 765" + End;

TEST(Loader, ARenumberingPastTheExpectedLineAsksAboutTheGap) {
  TempDir dir;
  WriteBytes(dir / "juego.txt", "1" + Data + "1x" + Data);
  std::string asked;
  const LoadListener listener{
      .renumber = [](const WrongNumber&) { return std::optional<std::string>("4"); },
      .fillGap =
          [&](const MissingLines& missing) {
            asked = std::to_string(missing.first) + "-" + std::to_string(missing.last);
            return std::optional<bool>(true);
          }};
  LineTable table;
  ASSERT_FALSE(LoadListing(dir / "juego.txt", "", 1 << 20, table, listener).failure);
  EXPECT_EQ(asked, "2-3");
  EXPECT_EQ(ListingText(table, table.count), "1" + Data + "2 00000000000000000000 " + End +
                                                 "3 00000000000000000000 " + End + "4" + Data);
}

TEST(Loader, WhatMemoryHasNoRoomForGoesToTheBackupOnly) {
  TempDir dir;
  const std::string listing = "1" + Data + "2" + Data + "3" + Data;
  WriteBytes(dir / "juego.txt", listing);
  LineTable table;
  const LoadResult result =
      LoadListing(dir / "juego.txt", dir / "juego.bak", 2 * LineBlockSize + 10, table, {});
  EXPECT_TRUE(result.full);
  EXPECT_EQ(result.freeBytes, 10);
  EXPECT_EQ(table.count, 2);
  EXPECT_EQ(ReadBytes(dir / "juego.bak"), listing);
}

// A listing that cannot be read is a failure, never an empty listing.
TEST(Loader, AFileThatCannotBeReadIsNoListing) {
  TempDir dir;
  LineTable table;
  EXPECT_TRUE(LoadListing(dir.path.string(), "", 1 << 20, table, {}).failure);
  EXPECT_EQ(table.count, 0);
}

}  // namespace
