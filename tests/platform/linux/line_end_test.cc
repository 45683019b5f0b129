// The Linux build writes a bare line feed, to the screen and to text files.
#include <gtest/gtest.h>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "editor/save_listing.h"
#include "editor/test_listing.h"
#include "platform/temp_dir.h"

namespace {

TEST(LinuxLineEnd, ScreenAndSavedListingEndLinesWithALineFeed) {
  MemoryConsole screen;
  WriteLine("x");
  EXPECT_EQ(screen.Written(), "x\n");

  TempDir dir;
  TestListing listing({"1 00112233445566778899 765", "2 000000000A 10"});
  SaveListing(listing.Count(), *listing.table, dir / "juego.txt");
  EXPECT_EQ(ReadBytes(dir / "juego.txt"), "1 00112233445566778899 765\n2 000000000A 10\n");
}

}  // namespace
