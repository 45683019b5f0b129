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
#include "editor/save_listing.h"
#include "listing/line_table.h"
#include "listing/loader.h"

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
  // The volume's number for the file, which a move over the name changes and a rewrite keeps.
  uint64_t FileIndex(const std::string& path) const {
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
    EXPECT_TRUE(GetFileInformationByHandle(file, &info));
    CloseHandle(file);
    return uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
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
  const uint64_t oldFile = FileIndex(Path("juego.txt"));
  ASSERT_TRUE(ReplaceFileSafely(Path("juego.txt"), "1 00 0\r\n2 00 0\r\n"));
  EXPECT_EQ(ReadFile(Path("juego.txt")), "1 00 0\r\n2 00 0\r\n");
  EXPECT_NE(FileIndex(Path("juego.txt")), oldFile);  // a new file moved over the old name
  EXPECT_EQ(FilesInDirectory(), 1u);

  ASSERT_TRUE(ReplaceFileSafely(Path("juego.tap"), std::string("\x13\0\x03", 3)));
  EXPECT_EQ(ReadFile(Path("juego.tap")), std::string("\x13\0\x03", 3));
  EXPECT_EQ(FilesInDirectory(), 2u);
  fs::remove(directory / "juego.tap");

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

// Text files are written with CR LF whatever ends the listing had.
TEST_F(WindowsFiles, ALineFeedListingIsBackedUpAndSavedWithCrLf) {
  MemoryConsole screen;
  WriteFile(Path("juego.txt"), "1 00112233445566778899 765\n2 000000000A 10\n");
  LineTable table;
  LoadBudget budget{int64_t{1} << 30, 1};
  LoadListing(Path("juego.txt"), table, budget);
  ASSERT_EQ(table.count, 2);
  EXPECT_EQ(LineText(table, 2), "2 000000000A 10");
  EXPECT_EQ(ReadFile(Path("juego.bak")), "1 00112233445566778899 765\r\n2 000000000A 10\r\n");

  SaveListing(table.count, table, Path("juego.txt"));
  EXPECT_EQ(ReadFile(Path("juego.txt")), "1 00112233445566778899 765\r\n2 000000000A 10\r\n");
  FreeLineTable(table.count, table);
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
