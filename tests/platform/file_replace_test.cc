#if !defined(_WIN32)  // users, groups, permission bits and rlimits are POSIX

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/platform.h"
#include "platform/temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct stat StatOf(const std::string& name) {
  struct stat info {};
  EXPECT_EQ(lstat(name.c_str(), &info), 0) << name;
  return info;
}

// Nothing but the named files: no temporary file left beside them.
std::vector<std::string> Names(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.path))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReplaceFileSafely, KeepsModeAndOwnerAndCreatesAMissingFile) {
  TempDir dir;
  const std::string name = dir / "juego.txt";
  WriteBytes(name, "old contents that are longer\n");
  ASSERT_EQ(chmod(name.c_str(), 0640), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(name.c_str(), 1234, 4321), 0);
  }

  ASSERT_TRUE(ReplaceFileSafely(name, "1 new\n"));
  EXPECT_EQ(ReadBytes(name), "1 new\n");
  const struct stat info = StatOf(name);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(info.st_uid, 1234u);
    EXPECT_EQ(info.st_gid, 4321u);
  }

  ASSERT_TRUE(ReplaceFileSafely(dir / "juego.tap", std::string("\x13\0\x03", 3)));
  EXPECT_EQ(ReadBytes(dir / "juego.tap"), std::string("\x13\0\x03", 3));
  EXPECT_EQ(Names(dir), (std::vector<std::string>{"juego.tap", "juego.txt"}));
}

TEST(ReplaceFileSafely, ASymbolicLinkStaysALinkAndItsTargetIsReplaced) {
  TempDir dir;
  fs::create_directory(dir.path / "real");
  WriteBytes(dir / "real/juego.txt", "old\n");
  fs::create_symlink("real/juego.txt", dir.path / "juego.txt");

  ASSERT_TRUE(ReplaceFileSafely(dir / "juego.txt", "new\n"));
  EXPECT_TRUE(fs::is_symlink(dir.path / "juego.txt"));
  EXPECT_EQ(fs::read_symlink(dir.path / "juego.txt"), "real/juego.txt");
  EXPECT_EQ(ReadBytes(dir / "real/juego.txt"), "new\n");
}

TEST(ReplaceFileSafely, AHardLinkedFileIsRewrittenInPlace) {
  TempDir dir;
  WriteBytes(dir / "juego.txt", "old contents\n");
  fs::create_hard_link(dir.path / "juego.txt", dir.path / "copia.txt");
  const ino_t inode = StatOf(dir / "juego.txt").st_ino;

  ASSERT_TRUE(ReplaceFileSafely(dir / "juego.txt", "new\n"));
  EXPECT_EQ(ReadBytes(dir / "copia.txt"), "new\n");
  EXPECT_EQ(StatOf(dir / "juego.txt").st_ino, inode);
  EXPECT_EQ(StatOf(dir / "juego.txt").st_nlink, 2u);
  EXPECT_EQ(Names(dir), (std::vector<std::string>{"copia.txt", "juego.txt"}));
}

TEST(ReplaceFileSafely, ADirectoryInThePlaceOfTheFileIsNeverTouched) {
  TempDir dir;
  fs::create_directory(dir.path / "juego.txt");
  WriteBytes(dir / "juego.txt/inside", "kept");
  errno = 0;
  EXPECT_FALSE(ReplaceFileSafely(dir / "juego.txt", "new\n"));
  EXPECT_EQ(errno, EISDIR);
  EXPECT_EQ(ReadBytes(dir / "juego.txt/inside"), "kept");
  EXPECT_EQ(Names(dir), std::vector<std::string>{"juego.txt"});
}

}  // namespace

#endif
