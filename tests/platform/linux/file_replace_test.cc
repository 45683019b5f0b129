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

// ReplaceFileSafely(path, NewBytes) in a child process after setup: 0, errno, 100 when the
// setup was refused, or 101 when it left a file open.
int ReplaceInChild(const std::string& path, const std::function<bool()>& setup) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(10);  // a fault that hangs the child ends it
    const auto open = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    if (!setup()) _exit(100);
    const auto before = open();
    const std::optional<IoFailure> failure = ReplaceFileSafely(path, NewBytes);
    const int status = failure ? failure->code : 0;
    _exit(open() == before ? status : 101);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// From here on every such system call fails with error.
bool CallFails(uint32_t call, int error) {
  sock_filter program[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, call, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<uint32_t>(error)),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)};
  const sock_fprog filter{std::size(program), program};
  return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

bool FileSizeLimit(rlim_t bytes) {
  const rlimit limit{bytes, bytes};
  return signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

// A listing replaced in a child process that meets a fault or runs as another user: the status,
// the bytes (new, or old after a failure), the owner and mode kept, and whether the file is still
// the same one (rewritten in place) or a new one renamed over it.
struct Replacement {
  const char* meets;
  std::function<bool()> setup;
  bool linked;  // a second name: the file must keep its identity
  int status;
  bool same;
};

void CheckReplacement(const Replacement& c, uid_t owner, gid_t group) {
  TempDir dir;
  const std::string name = dir / "juego.txt";
  WriteBytes(name, "1 old\n");
  ASSERT_EQ(
      chown(name.c_str(), owner, group) | chmod(name.c_str(), 0666) | chmod(dir.path.c_str(), 0777),
      0);
  if (c.linked) fs::create_hard_link(name, dir / "copia.txt");
  struct stat was = {}, now = {};
  stat(name.c_str(), &was);
  const int status = ReplaceInChild(name, c.setup);
  if (status == 100) GTEST_SKIP() << "the machine refuses " << c.meets;
  stat(name.c_str(), &now);
  EXPECT_EQ(status, c.status) << c.meets;
  EXPECT_EQ(ReadBytes(name), c.status ? "1 old\n" : NewBytes) << c.meets;
  EXPECT_EQ(now.st_ino == was.st_ino, c.same) << c.meets;
  EXPECT_EQ(std::tuple(now.st_uid, now.st_gid, now.st_mode & 07777),
            std::tuple(owner, group, 0666u))
      << c.meets;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), {}), c.linked ? 2 : 1) << c.meets;
}

bool Root() { return geteuid() == 0; }

// A rename refused where the file's place explains it (another file system under a bind mount,
// a mount point, a sticky folder) becomes a rewrite in place; for any other reason the save
// fails. Whoever runs it owns the listing, or, for root, another user and group.
TEST(ReplaceFileSafely, NeverACutFileNorAStrayOne) {
  // clang-format off
  const Replacement cases[] = {
      {"EXDEV", [] { return CallFails(SYS_rename, EXDEV); }, false, 0, true},
      {"EBUSY", [] { return CallFails(SYS_rename, EBUSY); }, false, 0, true},
      {"EPERM", [] { return CallFails(SYS_rename, EPERM); }, false, 0, true},
      {"EACCES", [] { return CallFails(SYS_rename, EACCES); }, false, EACCES, true},
      {"ENOSPC", [] { return CallFails(SYS_rename, ENOSPC); }, false, ENOSPC, true},
      {"a full disk", [] { return FileSizeLimit(16); }, false, EFBIG, true},
      {"a full disk", [] { return FileSizeLimit(16); }, true, EFBIG, true},
      {"a failing read", [] { return CallFails(SYS_pread64, EIO); }, true, EIO, true},
      {"no standard input", [] { return close(0) == 0; }, false, 0, false},  // opened as fd 0
      {"no standard input", [] { return close(0) == 0; }, true, 0, true}};
  // clang-format on
  for (const Replacement& c : cases)
    CheckReplacement(c, Root() ? 1234 : getuid(), Root() ? 4321 : getgid());
}

// Root gives the new file the listing's owner, or its group; a user who cannot give it away
// rewrites it in place.
TEST(ReplaceFileSafely, KeepsAnOwnerOnlyRootMayGive) {
  if (!Root()) GTEST_SKIP() << "only root may give a file to another user";
  CheckReplacement({"nothing", [] { return true; }, false, 0, false}, 1234, 0);
  CheckReplacement({"nothing", [] { return true; }, false, 0, false}, 0, 4321);
  CheckReplacement({"another user", [] { return setuid(65534) == 0; }, false, 0, true}, 1234, 4321);
}

// A symbolic link stays a link, its target getting the bytes; a folder is never replaced. The
// root folder takes a new file when it may be written.
TEST(ReplaceFileSafely, ALinkStaysALinkAndAFolderAFolder) {
  TempDir dir;
  fs::create_directory(dir / "carpeta");
  EXPECT_EQ(ReplaceFileSafely(dir / "carpeta", NewBytes).value_or(IoFailure{0}).code, EISDIR);
  WriteBytes(dir / "real.txt", "1 old\n");
  fs::create_symlink("real.txt", dir / "juego.txt");
  ASSERT_FALSE(ReplaceFileSafely(dir / "juego.txt", NewBytes));
  EXPECT_EQ(fs::read_symlink(dir / "juego.txt"), "real.txt");
  EXPECT_EQ(ReadBytes(dir / "real.txt"), NewBytes);
  EXPECT_EQ(CanCreateFile("/juego.txt"), access("/", W_OK | X_OK) == 0);
}

}  // namespace
