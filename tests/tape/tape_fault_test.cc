// A tape image that cannot be written ends the run with the error code and leaves nothing.
#include <cerrno>

#include "tape_test_support.h"

namespace tape_test {
namespace {

TEST_F(TapeTest, DirectoryRemovedAfterStartUpEndsWithItsCode) {
  std::filesystem::create_directory("dir");
  WriteFile("dir/juego.txt", "");
  Listing listing(1);
  std::filesystem::remove_all("dir");
  try {
    Compile(listing, "dir/juego.txt", "P\r0\r10\rk");
    FAIL() << "the dialogue returned";
  } catch (const ProgramEnd& end) {
    EXPECT_TRUE(end.runtimeError);
    EXPECT_EQ(end.status, ENOENT);
  }
  EXPECT_EQ(screen_.RuntimeErrorLine(), "Runtime error " + std::to_string(ENOENT));
  EXPECT_EQ(Files(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tape_test
