// Replacing a file on Linux: a new file renamed over the name where the file's identity allows
// it, else the old file rewritten in place; never a cut file, never a stray temporary one.
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <filesystem>
#include <functional>

#include "platform/platform.h"
#include "platform/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string NewBytes = "1 new bytes, more than sixteen\n";

// ReplaceFileSafely(path, NewBytes) in a child process after setup: 0, errno, or 100 when the
// setup was refused.
int ReplaceInChild(const std::string& path, const std::function<bool()>& setup) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(10);  // a fault that hangs the child ends it
    _exit(!setup() ? 100 : ReplaceFileSafely(path, NewBytes) ? 0 : errno);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// From here on every rename fails with error.
bool RenameFails(int error) {
  sock_filter program[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_rename, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<uint32_t>(error)),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)};
  const sock_fprog filter{std::size(program), program};
  return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

struct stat Identity(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info;
}

// A rename refused where the file's place explains it (another file system under a bind mount,
// a mount point, a sticky folder) becomes a rewrite in place; refused for any other reason, the
// save fails and the old file stays.
TEST(ReplaceFileSafely, ARefusedRenameRewritesInPlaceOnlyWhereThePlaceExplainsIt) {
  for (auto [error, result] :
       {std::pair{EXDEV, 0}, {EBUSY, 0}, {EPERM, 0}, {EACCES, EACCES}, {ENOSPC, ENOSPC}}) {
    TempDir dir;
    WriteBytes(dir / "juego.txt", "1 old\n");
    const ino_t file = Identity(dir / "juego.txt").st_ino;
    const int status = ReplaceInChild(dir / "juego.txt", [&] { return RenameFails(error); });
    if (status == 100) GTEST_SKIP() << "the machine refuses a seccomp filter";
    EXPECT_EQ(status, result) << error;
    EXPECT_EQ(ReadBytes(dir / "juego.txt"), result ? "1 old\n" : NewBytes) << error;
    EXPECT_EQ(Identity(dir / "juego.txt").st_ino, file) << error;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), {}), 1) << error;
  }
}

// A file of another owner is replaced by a rename where that owner can be given to the new
// file (root), else rewritten in place (anyone else); either way owner and mode stay.
TEST(ReplaceFileSafely, OwnerAndModeStay) {
  for (const bool unprivileged : {false, true}) {
    TempDir dir;
    const std::string name = dir / "juego.txt";
    WriteBytes(name, "1 old\n");
    if (chown(name.c_str(), 1234, 4321) != 0 || chmod(name.c_str(), 0666) != 0 ||
        chmod(dir.path.c_str(), 0777) != 0)
      GTEST_SKIP() << "only root may give a file away";
    const ino_t file = Identity(name).st_ino;
    EXPECT_EQ(ReplaceInChild(name, [&] { return !unprivileged || setuid(65534) == 0; }), 0);
    EXPECT_EQ(ReadBytes(name), NewBytes);
    const struct stat now = Identity(name);
    EXPECT_EQ(now.st_ino == file, unprivileged);
    EXPECT_EQ(std::tuple(now.st_uid, now.st_gid, now.st_mode & 07777),
              std::tuple(1234u, 4321u, 0666u));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), {}), 1);
  }
}

// A symbolic link stays a link, its target getting the new bytes. A file with a second name is
// rewritten in place; a full disk meanwhile puts its old bytes back.
TEST(ReplaceFileSafely, LinksStayAndAFailedRewriteKeepsTheOldBytes) {
  TempDir dir;
  const std::string real = dir / "real.txt";
  WriteBytes(real, "old contents that are longer\n");
  fs::create_symlink("real.txt", dir / "juego.txt");
  ASSERT_TRUE(ReplaceFileSafely(dir / "juego.txt", "1 new\n"));
  EXPECT_EQ(fs::read_symlink(dir / "juego.txt"), "real.txt");
  EXPECT_EQ(ReadBytes(real), "1 new\n");
  fs::create_hard_link(real, dir / "copia.txt");
  const int status = ReplaceInChild(real, [] {
    const rlimit limit{16, 16};
    return signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limit) == 0;
  });
  EXPECT_EQ(ReadBytes(dir / "copia.txt"), "1 new\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), {}), 3);
  if (status == 100) GTEST_SKIP() << "the machine refuses a file size limit";
  EXPECT_EQ(status, EFBIG);
  // A file can be made in the root folder when it may be written there.
  EXPECT_EQ(CanCreateFile("/juego.txt"), access("/", W_OK | X_OK) == 0);
}

}  // namespace
