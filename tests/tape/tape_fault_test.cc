// A tape image that cannot be written ends the run with the error code as exit status, leaves
// no partial image and keeps an older image whole. Each case runs in a child that cannot write.
#if !defined(_WIN32)  // users, groups, permission bits and rlimits are POSIX

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>

#include "tape/tape_image.h"
#include "tape_test_support.h"

namespace tape_test {
namespace {

constexpr int RefusedStatus = 250;  // the child could not take away its own rights

class TapeFaultTest : public TapeTest {
 protected:
  // The exit status of a child that first calls takeAway, then compiles with the keys given.
  template <typename TakeAway>
  int CompileInChild(const Listing& listing, const std::string& fileName, const std::string& keys,
                     TakeAway takeAway) {
    const pid_t child = fork();
    if (child == 0) {
      if (!takeAway()) _exit(RefusedStatus);
      screen_.Keys(keys);
      int32_t currentLine = 0;
      try {
        CompileTape(currentLine, listing.table.count, listing.table, fileName);
      } catch (const ProgramEnd& end) {
        _exit(end.runtimeError ? end.status : 251);
      } catch (...) {
        _exit(252);
      }
      _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  }

  const std::string oldImage = BuildTapeImage("VIEJO", 1, "abc");
};

TEST_F(TapeFaultTest, FullDiskKeepsTheOldImage) {
  Listing listing(200);
  WriteFile("juego.txt", "");
  WriteFile("juego.tap", oldImage);
  const int status = CompileInChild(listing, "juego.txt", "NUEVO\r0\r2000\rk", [] {
    signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
    limit.rlim_cur = 1000;
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
  });
  if (status == RefusedStatus) GTEST_SKIP() << "the file size limit could not be lowered";
  EXPECT_EQ(status, EFBIG);
  const std::string image = ReadFile("juego.tap");
  EXPECT_TRUE(image == oldImage) << "the image is now " << image.size() << " bytes";
  EXPECT_EQ(Files(), (std::vector<std::string>{"juego.tap", "juego.txt"}));
}

TEST_F(TapeFaultTest, DirectoryRemovedAfterStartUp) {
  std::filesystem::create_directory("dir");
  WriteFile("dir/juego.txt", "");
  Listing listing(1);
  std::filesystem::remove_all("dir");
  EXPECT_EQ(CompileInChild(listing, "dir/juego.txt", "P\r0\r10\rk", [] { return true; }), ENOENT);
  EXPECT_EQ(Files(), std::vector<std::string>{});
}

TEST_F(TapeFaultTest, UnprivilegedUserKeepsTheOldImage) {
  WriteFile("juego.txt", "");
  WriteFile("juego.tap", oldImage);
  std::filesystem::permissions(
      dir_, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                std::filesystem::perms::others_exec);
  Listing listing(1);
  const int status = CompileInChild(listing, "juego.txt", "P\r0\r10\rk", [] {
    return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
  });
  if (status == RefusedStatus) GTEST_SKIP() << "switching to an unprivileged user was refused";
  EXPECT_EQ(status, EACCES);
  const std::string image = ReadFile("juego.tap");
  EXPECT_TRUE(image == oldImage) << "the image is now " << image.size() << " bytes";
  EXPECT_EQ(Files(), (std::vector<std::string>{"juego.tap", "juego.txt"}));
}

}  // namespace
}  // namespace tape_test

#endif
