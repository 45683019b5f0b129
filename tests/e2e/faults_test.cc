// The built program meeting faults: a full disk, a directory or listing taken away, an input
// that ends, end signals in every waiting state. Whatever happens the terminal is left as it
// was, the listing is the old one or the new one and never cut, no temporary file is left.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <set>

#include "e2e/terminal.h"

namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

const std::string GoodLine = "1 06000E0076790F0F0FE6 534\n";
const std::string SpacedLine = "1 06 00 0E 00 76 79 0F 0F 0F E6 534\n";  // saved as GoodLine
// A gap the loader asks about; S makes 300 correct lines, about 7 KB saved. The backup is 50 B.
const std::string GapListing = "1 00000000000000000000 0\n300 00000000000000000000 0\n";

Names Files(const fs::path& directory) {
  Names names;
  for (const auto& entry : fs::directory_iterator(directory))
    names.insert(entry.path().filename().string());
  return names;
}

void WaitToShow(Terminal& term, std::string_view text) {
  auto shows = [&](const Terminal& t) { return t.ScreenDump().find(text) != std::string::npos; };
  ASSERT_TRUE(term.WaitUntil(shows)) << term.StartError() << text << " not shown:\n"
                                     << term.ScreenDump();
}

// The end a fault must reach: the message and status, the terminal as it was.
void ExpectRuntimeError(Terminal& term, int code) {
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), code);
  EXPECT_NE(term.RawOutput().find("Runtime error " + std::to_string(code)), std::string::npos);
  EXPECT_TRUE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
  EXPECT_TRUE(term.CursorVisible());
}

// The file-size limit (16 bytes: the backup fails), and the keys answering the loader.
class FullDisk : public ::testing::TestWithParam<std::pair<int, std::string>> {};

// Past the limit a write fails with EFBIG, as on a full disk with ENOSPC.
TEST_P(FullDisk, EndsWithTheRuntimeErrorAndTheListingWhole) {
  const auto& [limit, keys] = GetParam();
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "juego.txt", GapListing);
  Terminal term({.arguments = {"--fsize=" + std::to_string(limit), GRAVIX_PROGRAM, "juego.txt"},
                 .directory = dir.Path(),
                 .program = "prlimit"});
  if (!term.Started()) GTEST_SKIP() << "prlimit cannot be run: " << term.StartError();
  ASSERT_NO_FATAL_FAILURE(WaitToShow(term, "(S/N):"));
  term.SendKeys(keys);
  ExpectRuntimeError(term, EFBIG);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"), GapListing);
  EXPECT_EQ(Files(dir.Path()), (Names{"juego.bak", "juego.txt"}));
}

INSTANTIATE_TEST_SUITE_P(Writes, FullDisk,
                         ::testing::Values(std::pair(16, "s"), std::pair(1024, "s q"),
                                           std::pair(1024, "s \rP\r0\r3000\r")));

// The keys typed at the loader's question, and what the screen shows once they are handled.
using Wait = std::pair<std::string, std::string>;

class EndSignal : public ::testing::TestWithParam<std::tuple<Wait, int>> {};

// The signal ends the run as it would a program that does not catch it, the terminal restored.
TEST_P(EndSignal, RestoresTheTerminalInEveryWait) {
  const auto& [wait, signalNumber] = GetParam();
  const rlimit noCore{0, 0};  // SIGQUIT's core dump would be a stray file beside the listing
  ASSERT_EQ(setrlimit(RLIMIT_CORE, &noCore), 0);
  const std::string listing = GoodLine + "3 00000000000000000000 0\n";
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "juego.txt", listing);
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
  ASSERT_NO_FATAL_FAILURE(WaitToShow(term, "(S/N):"));
  term.SendKeys(wait.first);
  ASSERT_NO_FATAL_FAILURE(WaitToShow(term, wait.second));
  EXPECT_FALSE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
  term.Signal(signalNumber);
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.EndSignal(), signalNumber);
  EXPECT_TRUE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
  EXPECT_TRUE(term.CursorVisible());
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"), listing);
  EXPECT_EQ(Files(dir.Path()), (Names{"juego.bak", "juego.txt"}));
}

INSTANTIATE_TEST_SUITE_P(Waits, EndSignal,
                         ::testing::Combine(::testing::Values(Wait{"", "(S/N):"},
                                                              Wait{"n ", "---[ Editor ]"},
                                                              Wait{"n g", "Ir a linea [1-2]:"},
                                                              Wait{"n \r", "Nombre del programa:"}),
                                            ::testing::Values(SIGTERM, SIGHUP, SIGQUIT)));

// After start-up the listing's folder is removed, or the listing replaced by a folder.
TEST(Faults, FolderOrListingTakenAwayAfterStartUp) {
  for (const bool wholeFolder : {true, false}) {
    ScratchDirectory dir;
    const fs::path folder = dir.Path() / "sub", listing = folder / "juego.txt";
    fs::create_directory(folder);
    WriteFileBytes(listing, GoodLine);
    Terminal term({.arguments = {"juego.txt"}, .directory = folder});
    ASSERT_NO_FATAL_FAILURE(WaitToShow(term, "---[ Editor ]"));
    fs::remove_all(wholeFolder ? folder : listing);
    if (!wholeFolder) fs::create_directory(listing);
    term.SendKeys("q");
    ExpectRuntimeError(term, wholeFolder ? ENOENT : EISDIR);
    EXPECT_EQ(fs::exists(folder) ? Files(folder) : Names{},
              (wholeFolder ? Names{} : Names{"juego.bak", "juego.txt"}));
    EXPECT_TRUE(wholeFolder || fs::is_empty(listing));
  }
}

// Made read-only after start-up: the listing is still saved (in place: no new file can be
// made there); the tape image, a new file, cannot be, and ends the run.
TEST(Faults, DirectoryMadeReadOnlyAfterStartUp) {
  ScratchDirectory dir;
  const fs::path folder = dir.Path() / "sub", listing = folder / "juego.txt";
  fs::create_directory(folder);
  WriteFileBytes(listing, SpacedLine);
  ASSERT_EQ(chown(folder.c_str(), 65534, 65534) | chown(listing.c_str(), 65534, 65534), 0);
  Terminal term({.arguments = {"juego.txt"}, .directory = folder, .unprivileged = true});
  if (!term.Started()) GTEST_SKIP() << term.StartError();
  ASSERT_NO_FATAL_FAILURE(WaitToShow(term, "---[ Editor ]"));
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  term.SendKeys("s");
  ASSERT_NO_FATAL_FAILURE(WaitToShow(term, "guardados"));
  term.SendKeys(" \rP\r0\r10\r");
  ExpectRuntimeError(term, EACCES);
  EXPECT_EQ(ReadFileBytes(listing), GoodLine);
  EXPECT_EQ(Files(folder), (Names{"juego.bak", "juego.txt"}));
}

// Keys from a pipe whose writer goes away while the G prompt waits.
TEST(Faults, StandardInputEndingMidRunIsARuntimeError) {
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "juego.txt", GoodLine);
  const fs::path pipe = dir.Path() / "teclas";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // Held open for writing here only, so the program's own open does not wait for a writer.
  const int keys = open(pipe.c_str(), O_RDWR | O_CLOEXEC);
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path(), .standardInput = pipe});
  ASSERT_NO_FATAL_FAILURE(WaitToShow(term, "---[ Editor ]"));
  ASSERT_EQ(write(keys, "g12", 3), 3);
  ASSERT_TRUE(term.WaitForText(28, 17, "Ir a linea [1-1]: 12")) << term.ScreenDump();
  close(keys);
  ExpectRuntimeError(term, EIO);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"), GoodLine);
  EXPECT_EQ(Files(dir.Path()), (Names{"juego.bak", "juego.txt", "teclas"}));
}

// A kill while the listing is being replaced: strace holds each fsync for half a second, and
// the signal comes once the temporary file exists.
TEST(Faults, EndSignalWhileSavingLeavesTheListingWholeAndNoTemporaryFile) {
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "juego.txt", SpacedLine);
  Terminal term({.arguments = {"-D", "-o", "/dev/null", "-e", "trace=fsync", "-e",
                               "inject=fsync:delay_enter=500000", GRAVIX_PROGRAM, "juego.txt"},
                 .directory = dir.Path(),
                 .program = "strace"});
  if (!term.Started() || !term.WaitForText(1, 5, "---[ Editor ]"))
    GTEST_SKIP() << "strace cannot trace here: " << term.StartError() << term.ScreenDump();
  term.SendKeys("s");
  ASSERT_TRUE(term.WaitUntil([&](const Terminal&) {
    for (const std::string& name : Files(dir.Path()))
      if (name.starts_with(".gravix-")) return true;
    return false;
  }));
  term.Signal(SIGTERM);
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.EndSignal(), SIGTERM);
  EXPECT_TRUE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
  const std::string listing = ReadFileBytes(dir.Path() / "juego.txt");
  EXPECT_TRUE(listing == SpacedLine || listing == GoodLine) << listing;
  EXPECT_EQ(Files(dir.Path()), (Names{"juego.bak", "juego.txt"}));
}

}  // namespace
