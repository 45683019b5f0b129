// A claim holds a file for one process however the file is named: another spelling of the same
// path finds it taken, another file does not.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "platform/temp_dir.h"

namespace {

TEST(ClaimFileName, OneClaimPerFileHoweverNamed) {
  TempDir dir;
  std::filesystem::create_directory(dir / "sub");
  ASSERT_TRUE(ClaimFileName(dir / "juego.rec"));
  EXPECT_FALSE(ClaimFileName(dir / "juego.rec"));
  EXPECT_FALSE(ClaimFileName((dir.path / "sub" / ".." / "juego.rec").string()));
  EXPECT_TRUE(ClaimFileName(dir / "sub/juego.rec"));
}

}  // namespace
