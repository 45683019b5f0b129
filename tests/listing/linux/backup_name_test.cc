// A symbolic link named like the backup that leads to the listing is the listing too.
#include <gtest/gtest.h>

#include <filesystem>

#include "listing/loader.h"
#include "platform/temp_dir.h"

namespace {

TEST(BackupFileName, ASymbolicLinkToTheListingIsNeverTheBackup) {
  TempDir dir;
  const std::string plain = dir / "juego.txt";
  WriteBytes(plain, "1");
  std::filesystem::create_symlink("juego.txt", dir.path / "juego.bak");
  EXPECT_EQ(BackupFileName(plain), plain + ".bak");
  // A link under the longer name as well: the backup moves on once more.
  std::filesystem::create_symlink("juego.txt", dir.path / "juego.txt.bak");
  EXPECT_EQ(BackupFileName(plain), plain + ".bak.bak");
}

}  // namespace
