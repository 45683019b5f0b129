// The built program meeting faults: a full disk, a directory or listing taken away, an input
// that ends, end signals in its waiting states. Whatever happens the terminal is left as it
// was, the listing is the old one or the new one and never cut, no temporary file is left.
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
  for (const auto& entry : fs::directory_iterator(directory)) names.insert(entry.path().filename());
  return names;
}

// Once the keys typed at the loader's question bring `shown`: a file-size limit (past it a write
// fails with EFBIG, as on a full disk), input at its end, an end signal (the run ends as if not
// caught), or a change to the folder before saving and compiling. A read-only folder (the program
// then runs as its owner, 65534) takes the listing, saved in place, but no new tape image.
enum Change {
  None,
  InputEnds,
  Signal,
  FolderRemoved,
  FolderGoneForTape,
  ListingAFolder,
  FolderReadOnly
};
using Fault = std::tuple<std::string, std::string, std::string, Change, int>;
class Faults : public ::testing::TestWithParam<Fault> {};

TEST_P(Faults, EndRestoresTheTerminalAndLeavesTheListingOldOrNew) {
  const auto& [sizeLimit, keys, shown, change, code] = GetParam();
  const rlimit noCore{0, 0};  // SIGQUIT's core dump would be a stray file beside the listing
  ASSERT_EQ(setrlimit(RLIMIT_CORE, &noCore), 0);
  ScratchDirectory dir;
  const fs::path folder = dir.Path() / "sub", listing = folder / "juego.txt";
  fs::create_directory(folder);
  WriteFileBytes(listing, GapListing);
  ASSERT_EQ(chown(folder.c_str(), 65534, 65534) | chown(listing.c_str(), 65534, 65534), 0);
  Terminal term({.arguments = {"--fsize=" + sizeLimit, GRAVIX_PROGRAM, "juego.txt"},
                 .directory = folder,
                 .program = "prlimit",
                 .standardInput = change == InputEnds ? "/dev/null" : "",
                 .unprivileged = change == FolderReadOnly});
  if (!term.Started()) GTEST_SKIP() << term.StartError();
  ASSERT_TRUE(term.WaitToShow("(S/N):")) << term.ScreenDump();
  term.SendKeys(keys);
  ASSERT_TRUE(term.WaitToShow(shown)) << term.ScreenDump();
  EXPECT_TRUE(change != Signal || !term.SettingsAsBefore());
  if (change == Signal) term.Signal(code);
  const bool folderGone = change == FolderRemoved || change == FolderGoneForTape;
  if (folderGone) fs::remove_all(folder);
  if (change == ListingAFolder) fs::remove(listing), fs::create_directory(listing);
  if (change == FolderReadOnly) chmod(folder.c_str(), 0555);
  if (change >= FolderRemoved)
    term.SendKeys(change == FolderGoneForTape ? "\rP\r0\r3000\r" : "s \rP\r0\r3000\r");
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(change == Signal ? term.EndSignal() : term.ExitCode(), code);
  // A Runtime error is reported below the screen, which scrolls up one row for it.
  EXPECT_EQ(term.TrimmedRow(24),
            change == Signal ? term.TrimmedRow(24) : "Runtime error " + std::to_string(code));
  EXPECT_TRUE(term.SettingsAsBefore());
  EXPECT_TRUE(term.CursorVisible());
  std::string saved;
  for (int line = 1; line <= 300; ++line)
    saved += std::to_string(line) + " 00000000000000000000 0\n";
  EXPECT_EQ(ReadFileBytes(listing), change <= Signal           ? GapListing
                                    : change == FolderReadOnly ? saved
                                                               : "");
  EXPECT_EQ(fs::exists(folder) ? Files(folder) : Names{},
            (folderGone ? Names{} : Names{"juego.bak", "juego.txt"}));
  EXPECT_TRUE(change != ListingAFolder || fs::is_empty(listing));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Faults,
    ::testing::Values(Fault{"16", "s", "", None, EFBIG}, Fault{"1024", "s q", "", None, EFBIG},
                      Fault{"1024", "s \rP\r0\r3000\r", "", None, EFBIG},
                      Fault{"unlimited", "", "", InputEnds, EIO},
                      Fault{"unlimited", "", "", Signal, SIGTERM},
                      Fault{"unlimited", "", "", Signal, SIGHUP},
                      Fault{"unlimited", "", "", Signal, SIGQUIT},
                      Fault{"unlimited", "", "", Signal, SIGINT},
                      Fault{"unlimited", "s ", "---[ Editor ]", Signal, SIGTERM},
                      Fault{"unlimited", "s g", "Ir a linea [1-300]:", Signal, SIGHUP},
                      Fault{"unlimited", "s ", "---[ Editor ]", Signal, SIGINT},
                      Fault{"unlimited", "s \r", "Nombre del programa:", Signal, SIGQUIT},
                      Fault{"unlimited", "s ", "---[ Editor ]", FolderRemoved, ENOENT},
                      Fault{"unlimited", "s ", "---[ Editor ]", FolderGoneForTape, ENOENT},
                      Fault{"unlimited", "s ", "---[ Editor ]", ListingAFolder, EISDIR},
                      Fault{"unlimited", "s ", "---[ Editor ]", FolderReadOnly, EACCES}));

// Ctrl+C at each wait before the editor: the run ends as an interrupted program does (a shell
// sees 130), the terminal as it was, nothing written but the backup.
TEST(Interrupt, CtrlCBeforeTheEditorEndsTheRun) {
  const std::tuple<std::string, std::string, std::string> waits[] = {
      {GapListing, "", "(S/N):"},
      {"x 00000000000000000000 0\n", "", "Introduce numero de linea correcto:"},
      {GapListing, "s", "Pulsa una tecla."}};
  for (const auto& [listing, keys, shown] : waits) {
    ScratchDirectory dir;
    WriteFileBytes(dir.Path() / "juego.txt", listing);
    Terminal term({.arguments = {"-c", GRAVIX_PROGRAM " juego.txt; echo status $?"},
                   .directory = dir.Path(),
                   .program = "sh"});
    term.SendKeys(keys);
    ASSERT_TRUE(term.WaitToShow(shown)) << term.ScreenDump();
    term.SendKeys("\x03");
    ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
    EXPECT_NE(term.ScreenDump().find("\nstatus 130\n"), std::string::npos) << term.ScreenDump();
    EXPECT_TRUE(term.SettingsAsBefore());
    EXPECT_TRUE(term.CursorVisible());
    EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"), listing);
    EXPECT_EQ(Files(dir.Path()), (Names{"juego.bak", "juego.txt"}));
  }
}

// A kill while the listing is being replaced: strace holds each fsync for half a second, and
// the signal comes once the temporary file exists.
TEST(Saving, EndSignalLeavesTheListingWholeAndNoTemporaryFile) {
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
    return Files(dir.Path()).size() > 2;  // the temporary file beside juego.txt and juego.bak
  }));
  term.Signal(SIGTERM);
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.EndSignal(), SIGTERM);
  const std::string listing = ReadFileBytes(dir.Path() / "juego.txt");
  EXPECT_TRUE(listing == SpacedLine || listing == GoodLine) << listing;
  EXPECT_EQ(Files(dir.Path()), (Names{"juego.bak", "juego.txt"}));
}

}  // namespace
