// Saving when the file system refuses: the listing is never left cut.
#if !defined(_WIN32)  // users, groups, permission bits and rlimits are POSIX

#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "console/memory/memory_console.h"
#include "editor/editor.h"
#include "editor/test_listing.h"
#include "platform/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int Refused = 77;  // the child could not take on the fault it was meant to meet
constexpr int NoUser = 65534;

const std::vector<std::string> StoredLines = {"1 00112233445566778899 765",
                                              "2 00000000000000000000 0"};
const std::string OldBytes = "1 00 11 22 33 44 55 66 77 88 99 765\n2 00000000000000000000 0\n";
const std::string NewBytes = "1 700112233445566778899 765\n2 00000000000000000000 0\n";

// Runs the editor with the keys "7q" in a child that first calls setUp (true when the fault
// could be set up); the child's exit status is the program's.
int SaveInChild(const std::string& listingName, bool (*setUp)(const std::string&)) {
  TestListing listing(StoredLines);
  const pid_t child = fork();
  if (child == 0) {
    if (!setUp(listingName)) _exit(Refused);
    MemoryConsole screen;
    screen.Keys("7q");
    try {
      RunEditor(listingName, listing.Count(), *listing.table);
    } catch (const ProgramEnd& end) {
      _exit(end.runtimeError ? end.status : 200);
    } catch (...) {
      _exit(201);
    }
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 300;
}

bool BecomeNobodyInAReadOnlyDirectory(const std::string& listingName) {
  if (setgroups(0, nullptr) != 0 || setgid(NoUser) != 0 || setuid(NoUser) != 0) return false;
  return chmod(fs::path(listingName).parent_path().c_str(), 0555) == 0;
}

TEST(SaveFaults, ADirectoryWithoutRoomForATemporaryFileIsSavedInPlace) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to hand the files to an unprivileged user";
  TempDir dir;
  const std::string name = dir / "juego.txt";
  WriteBytes(name, OldBytes);
  ASSERT_EQ(chown(name.c_str(), NoUser, NoUser), 0);
  ASSERT_EQ(chown(dir.path.c_str(), NoUser, NoUser), 0);
  struct stat before {};
  ASSERT_EQ(stat(name.c_str(), &before), 0);

  const int status = SaveInChild(name, BecomeNobodyInAReadOnlyDirectory);
  if (status == Refused) GTEST_SKIP() << "the machine refuses to switch to user 65534";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(name), NewBytes);
  struct stat info {};
  ASSERT_EQ(stat(name.c_str(), &info), 0);
  EXPECT_EQ(info.st_ino, before.st_ino);  // the same file, not a renamed one
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

// The file-size limit stands for a full disk: writes beyond 16 bytes fail with EFBIG.
bool FillTheDisk(const std::string&) {
  signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{16, 16};
  return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

TEST(SaveFaults, AFullDiskEndsWithTheRuntimeErrorAndTheListingWhole) {
  TempDir dir;
  const std::string name = dir / "juego.txt";
  WriteBytes(name, OldBytes);
  const int status = SaveInChild(name, FillTheDisk);
  if (status == Refused) GTEST_SKIP() << "the machine refuses a file-size limit";
  EXPECT_EQ(status, EFBIG);
  EXPECT_EQ(ReadBytes(name), OldBytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);

  // Rewritten in place (another name links to it): the old bytes go back.
  fs::create_hard_link(name, dir / "copia.txt");
  EXPECT_EQ(SaveInChild(name, FillTheDisk), EFBIG);
  EXPECT_EQ(ReadBytes(name), OldBytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 2);
}

TEST(SaveFaults, AListingReplacedByADirectoryEndsWithTheRuntimeError) {
  TempDir dir;
  const std::string name = dir / "juego.txt";
  fs::create_directory(name);
  WriteBytes(dir / "juego.txt/dentro", "kept");
  MemoryConsole screen;
  TestListing listing(StoredLines);
  screen.Keys("7q");
  try {
    RunEditor(name, listing.Count(), *listing.table);
    FAIL() << "the editor returned";
  } catch (const ProgramEnd& end) {
    EXPECT_TRUE(end.runtimeError);
    EXPECT_EQ(end.status, EISDIR);
  }
  EXPECT_EQ(screen.RuntimeErrorLine(), "Runtime error " + std::to_string(EISDIR));
  EXPECT_EQ(ReadBytes(dir / "juego.txt/dentro"), "kept");
  EXPECT_EQ(std::distance(fs::directory_iterator(name), fs::directory_iterator()), 1);
}

}  // namespace

#endif
