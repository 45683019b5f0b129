#include "platform/platform.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// The volume's number for the file, which a move over the name changes and a rewrite keeps.
uint64_t FileIndex(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  BY_HANDLE_FILE_INFORMATION info{};
  EXPECT_TRUE(GetFileInformationByHandle(file, &info)) << path;
  CloseHandle(file);
  return uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
}

// A new file moved over the name, a file with a second name rewritten in place, a missing
// folder refused; no temporary file left.
TEST(WindowsPlatform, FilesAreReplacedWholeOrNotAtAll) {
  TempDir dir;
  const std::string name = dir / "juego.txt", copy = dir / "copia.txt";
  WriteBytes(name, "old listing, longer than the new one\r\n");
  EXPECT_EQ(GetFileKind("NUL"), FileKind::Other);  // a device is no listing
  const uint64_t oldFile = FileIndex(name);
  ASSERT_TRUE(ReplaceFileSafely(name, "1 00 0\r\n"));
  EXPECT_EQ(ReadBytes(name), "1 00 0\r\n");
  EXPECT_NE(FileIndex(name), oldFile);
  ASSERT_TRUE(CreateHardLinkA(copy.c_str(), name.c_str(), nullptr));
  ASSERT_TRUE(ReplaceFileSafely(name, "3 00 0\r\n"));
  EXPECT_EQ(ReadBytes(copy), "3 00 0\r\n");
  EXPECT_TRUE(SameFile(name, copy));
  EXPECT_FALSE(SameFile(name, dir.path.string()));
  EXPECT_FALSE(ReplaceFileSafely(dir / "no-such-folder\\juego.txt", "1 00 0\r\n"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), {}), 2);
}

}  // namespace
