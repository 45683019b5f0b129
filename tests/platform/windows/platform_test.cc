#include "platform/platform.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "console/console.h"
#include "console/memory/memory_console.h"

namespace fs = std::filesystem;

namespace {

class WindowsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    directory =
        fs::temp_directory_path() /
        ("gravix-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(directory);
    fs::create_directories(directory);
  }
  void TearDown() override { fs::remove_all(directory); }

  std::string Path(const std::string& name) const { return (directory / name).string(); }

  static void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
  }
  size_t FilesInDirectory() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(directory), {}));
  }

  fs::path directory;
};

TEST(WindowsConsoleRules, LineEndIsCrLfAndAFullRowMovesTheCursorOn) {
  MemoryConsole screen;
  WriteLine("x");
  EXPECT_EQ(screen.Written(), "x\r\n");
  // A row written up to column 80 is already left; its line end leaves one blank row.
  WriteLine(std::string(80, '-'));
  WriteText("y");
  EXPECT_EQ(screen.TrimmedRow(3), "");
  EXPECT_EQ(screen.TrimmedRow(4), "y");
}

TEST_F(WindowsFiles, KindsAndIdentityFollowHardLinks) {
  WriteFile(Path("a.txt"), "12 0A 10\r\n");
  WriteFile(Path("c.txt"), "12 0A 10\r\n");
  ASSERT_TRUE(CreateHardLinkA(Path("b.txt").c_str(), Path("a.txt").c_str(), nullptr));

  EXPECT_EQ(GetFileKind(Path("a.txt")), FileKind::Regular);
  EXPECT_EQ(GetFileKind(directory.string()), FileKind::Directory);
  EXPECT_EQ(GetFileKind(Path("missing.txt")), FileKind::Missing);
  EXPECT_EQ(GetFileKind("NUL"), FileKind::Other);

  EXPECT_TRUE(SameFile(Path("a.txt"), Path("b.txt")));
  EXPECT_TRUE(SameFile(Path("a.txt"), (directory / "." / "a.txt").string()));
  EXPECT_FALSE(SameFile(Path("a.txt"), Path("c.txt")));  // equal bytes, another file
  EXPECT_FALSE(SameFile(Path("a.txt"), Path("missing.txt")));
}

TEST_F(WindowsFiles, ReplacementLeavesTheNewBytesAndNoTemporaryFile) {
  WriteFile(Path("juego.txt"), "old listing, longer than the new one\r\n");
  ASSERT_TRUE(ReplaceFileSafely(Path("juego.txt"), "1 00 0\r\n2 00 0\r\n"));
  EXPECT_EQ(ReadFile(Path("juego.txt")), "1 00 0\r\n2 00 0\r\n");
  EXPECT_EQ(FilesInDirectory(), 1u);

  // A file with a second name stays one file: both names see the new bytes.
  ASSERT_TRUE(CreateHardLinkA(Path("copia.txt").c_str(), Path("juego.txt").c_str(), nullptr));
  ASSERT_TRUE(ReplaceFileSafely(Path("juego.txt"), "3 00 0\r\n"));
  EXPECT_EQ(ReadFile(Path("copia.txt")), "3 00 0\r\n");
  EXPECT_TRUE(SameFile(Path("juego.txt"), Path("copia.txt")));
  EXPECT_EQ(FilesInDirectory(), 2u);
}

TEST_F(WindowsFiles, RefusedReplacementSetsErrnoAndLeavesNoTemporaryFile) {
  // A directory can be neither replaced by a file nor written into.
  fs::create_directory(directory / "juego.txt");
  errno = 0;
  EXPECT_FALSE(ReplaceFileSafely(Path("juego.txt"), "1 00 0\r\n"));
  EXPECT_NE(errno, 0);
  EXPECT_TRUE(fs::is_directory(directory / "juego.txt"));
  EXPECT_EQ(FilesInDirectory(), 1u);

  errno = 0;
  EXPECT_FALSE(ReplaceFileSafely(Path("no-such-folder\\juego.txt"), "1 00 0\r\n"));
  EXPECT_EQ(errno, ENOENT);
}

TEST(WindowsIoErrors, CodesAreOneTo255NeverZero) {
  errno = EACCES;
  EXPECT_EQ(IoErrorCode(), EACCES);
  errno = 0;
  SetLastError(ERROR_SHARING_VIOLATION);  // 32
  EXPECT_EQ(IoErrorCode(), 32);
  SetLastError(ERROR_NO_UNICODE_TRANSLATION);  // 1113
  EXPECT_EQ(IoErrorCode(), 255);
  SetLastError(0);
  EXPECT_EQ(IoErrorCode(), EIO);
}

}  // namespace
