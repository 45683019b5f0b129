#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/platform.h"
#include "platform/temp_dir.h"
namespace fs = std::filesystem;

// A symbolic link stays a link, its target getting the new bytes, mode and owner kept. A file
// with a second name is rewritten in place; a full disk meanwhile puts its old bytes back.
TEST(ReplaceFileSafely, KeepsLinksModeAndOwner) {
  TempDir dir;
  const std::string real = dir / "real.txt";
  WriteBytes(real, "old contents that are longer\n");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  const bool owned = chown(real.c_str(), 1234, 4321) == 0;  // root only
  fs::create_symlink("real.txt", dir / "juego.txt");
  ASSERT_TRUE(ReplaceFileSafely(dir / "juego.txt", "1 new\n"));
  EXPECT_EQ(fs::read_symlink(dir / "juego.txt"), "real.txt");
  EXPECT_EQ(ReadBytes(real), "1 new\n");
  struct stat info {};
  ASSERT_EQ(stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_TRUE(!owned || (info.st_uid == 1234 && info.st_gid == 4321));

  fs::create_hard_link(real, dir / "copia.txt");
  ASSERT_TRUE(ReplaceFileSafely(real, "new\n"));
  EXPECT_EQ(ReadBytes(dir / "copia.txt"), "new\n");  // the same file still
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{16, 16};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(100);
    _exit(ReplaceFileSafely(real, std::string(40, 'x')) ? 0 : errno);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(ReadBytes(dir / "copia.txt"), "new\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), {}), 3);
  if (WEXITSTATUS(status) == 100) GTEST_SKIP() << "the machine refuses a file size limit";
  EXPECT_EQ(WEXITSTATUS(status), EFBIG);
}
