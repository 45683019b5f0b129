// A backup that cannot be written ends the run as a Runtime error. The disk is made "full" for
// a forked child only, through its file-size limit.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "console/memory/memory_console.h"
#include "shell/program.h"

namespace {

namespace fs = std::filesystem;

constexpr int LimitRefused = 240;
constexpr int WrongEnd = 241;

// Runs GRAVIX on a listing of lineCount lines in a child that may write 1024 bytes per file;
// returns the child's exit status and the backup's size.
void RunWithFullDisk(int lineCount, int& exitStatus, uintmax_t& backupSize) {
  const fs::path dir =
      fs::temp_directory_path() / ("gravix-fault-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  const fs::path listing = dir / "juego.txt";
  {
    std::ofstream file(listing, std::ios::binary);
    for (int n = 1; n <= lineCount; ++n) file << n << " 00112233445566778899 765\n";
  }

  const pid_t child = fork();
  ASSERT_NE(child, -1) << "fork refused";
  if (child == 0) {
    // Past 1024 bytes every write fails with EFBIG instead of killing the process.
    const rlimit limit{1024, 1024};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(LimitRefused);
    std::signal(SIGXFSZ, SIG_IGN);
    MemoryConsole screen;
    try {
      RunGravix({listing.string()});
    } catch (const ProgramEnd& end) {
      const bool reported =
          screen.RuntimeErrorLine() == "Runtime error " + std::to_string(end.status);
      _exit(end.runtimeError && reported ? end.status : WrongEnd);
    } catch (...) {
    }
    _exit(WrongEnd);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  backupSize = fs::exists(dir / "juego.bak") ? fs::file_size(dir / "juego.bak") : 0;
  fs::remove_all(dir);
  ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
  exitStatus = WEXITSTATUS(status);
}

TEST(LoaderFault, ABackupWriteThatFailsEndsWithRuntimeErrorAndItsCode) {
  // 60 lines fail only when the backup is closed, 400 while it is written.
  for (int lineCount : {60, 400}) {
    int status = 0;
    uintmax_t backupSize = 0;
    ASSERT_NO_FATAL_FAILURE(RunWithFullDisk(lineCount, status, backupSize));
    if (status == LimitRefused) GTEST_SKIP() << "this machine refuses a file-size limit";
    EXPECT_EQ(status, EFBIG) << lineCount << " lines";
    EXPECT_EQ(backupSize, 1024u) << lineCount << " lines";  // as far as it got
  }
}

}  // namespace
