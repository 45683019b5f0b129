// The built program meeting faults: a full disk, a directory or listing taken away, an input
// that ends, end signals in its waiting states. Whatever happens the terminal is left as it
// was, the listing is the old one or the new one and never cut, no temporary file is left.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <set>

#include "e2e/terminal.h"

namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

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
enum Change { None, InputEnds, Signal, FolderRemoved, FolderGoneForTape, ListingAFolder, ReadOnly };
struct Fault {
  std::string name, sizeLimit, keys, shown;
  Change change;
  int code;  // the exit status or the end signal
};
class Faults : public ::testing::TestWithParam<Fault> {};

TEST_P(Faults, EndRestoresTheTerminalAndLeavesTheListingOldOrNew) {
  const auto& [name, sizeLimit, keys, shown, change, code] = GetParam();
  const rlimit noCore{0, 0};  // SIGQUIT's core dump would be a stray file beside the listing
  ASSERT_EQ(setrlimit(RLIMIT_CORE, &noCore), 0);
  TempDir dir;
  const fs::path folder = dir.path / "sub", listing = folder / "juego.txt";
  fs::create_directory(folder);
  WriteBytes(listing, GapListing);
  ASSERT_EQ(chown(folder.c_str(), 65534, 65534) | chown(listing.c_str(), 65534, 65534), 0);
  Terminal term({.arguments = {"--fsize=" + sizeLimit, GRAVIX_PROGRAM, "juego.txt"},
                 .directory = folder,
                 .program = "prlimit",
                 .standardInput = change == InputEnds ? "/dev/null" : "",
                 .unprivileged = change == ReadOnly});
  if (!term.StartError().empty()) GTEST_SKIP() << term.StartError();
  ASSERT_TRUE(term.WaitToShow("(S/N):")) << term.ScreenDump();
  term.SendKeys(keys);
  ASSERT_TRUE(term.WaitToShow(shown)) << term.ScreenDump();
  EXPECT_TRUE(change != Signal || !term.SettingsAsBefore());  // raw until the end
  if (change == Signal) term.Signal(code);
  const bool folderGone = change == FolderRemoved || change == FolderGoneForTape;
  if (folderGone) fs::remove_all(folder);
  if (change == ListingAFolder) fs::remove(listing), fs::create_directory(listing);
  if (change == ReadOnly) chmod(folder.c_str(), 0555);
  if (change >= FolderRemoved)
    term.SendKeys(change == FolderGoneForTape ? "\rP\r0\r3000\r" : "s \rP\r0\r3000\r");
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(change == Signal ? term.EndSignal() : term.ExitCode(), code);
  // A Runtime error is reported below the screen, which scrolls up one row for it.
  if (change != Signal) {
    EXPECT_EQ(term.TrimmedRow(24), "Runtime error " + std::to_string(code));
  }
  EXPECT_TRUE(term.SettingsAsBefore());
  EXPECT_TRUE(term.CursorVisible());
  std::string saved;
  for (int line = 1; line <= 300; ++line)
    saved += std::to_string(line) + " 00000000000000000000 0\n";
  EXPECT_EQ(ReadBytes(listing), change <= Signal ? GapListing : change == ReadOnly ? saved : "");
  EXPECT_EQ(fs::exists(folder) ? Files(folder) : Names{},
            (folderGone ? Names{} : Names{"juego.bak", "juego.txt"}));
  EXPECT_TRUE(change != ListingAFolder || fs::is_empty(listing));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Runs, Faults, ::testing::Values(
    Fault{"DiskFullSavingOnS", "16", "s", "", None, EFBIG},
    Fault{"DiskFullSavingOnQ", "1024", "s q", "", None, EFBIG},
    Fault{"DiskFullForTheTape", "1024", "s \rP\r0\r3000\r", "", None, EFBIG},
    Fault{"InputEnds", "unlimited", "", "", InputEnds, EIO},
    Fault{"TermAtTheQuestion", "unlimited", "", "", Signal, SIGTERM},
    Fault{"QuitAtThePause", "unlimited", "s", "Pulsa una tecla.", Signal, SIGQUIT},
    Fault{"IntInTheEditor", "unlimited", "s ", "---[ Editor ]", Signal, SIGINT},
    Fault{"HupAtGoTo", "unlimited", "s g", "Ir a linea [1-300]:", Signal, SIGHUP},
    Fault{"QuitAtTheName", "unlimited", "s \r", "Nombre del programa:", Signal, SIGQUIT},
    Fault{"FolderRemoved", "unlimited", "s ", "---[ Editor ]", FolderRemoved, ENOENT},
    Fault{"FolderGoneForTape", "unlimited", "s ", "---[ Editor ]", FolderGoneForTape, ENOENT},
    Fault{"ListingAFolder", "unlimited", "s ", "---[ Editor ]", ListingAFolder, EISDIR},
    Fault{"FolderReadOnly", "unlimited", "s ", "---[ Editor ]", ReadOnly, EACCES}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// Ctrl+C at each wait before the editor: the run ends as an interrupted program does (a shell
// sees 130), the terminal as it was, nothing written but the backup.
TEST(Interrupt, CtrlCBeforeTheEditorEndsTheRun) {
  const std::tuple<std::string, std::string, std::string> waits[] = {
      {GapListing, "", "(S/N):"},
      {"x 00000000000000000000 0\n", "", "Introduce numero de linea correcto:"},
      {GapListing, "s", "Pulsa una tecla."}};
  for (const auto& [listing, keys, shown] : waits) {
    TempDir dir;
    WriteBytes(dir / "juego.txt", listing);
    Terminal term({.arguments = {"-c", GRAVIX_PROGRAM " juego.txt; echo status $?"},
                   .directory = dir.path,
                   .program = "sh"});
    term.SendKeys(keys);
    ASSERT_TRUE(term.WaitToShow(shown)) << term.ScreenDump();
    term.SendKeys("\x03");
    ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
    EXPECT_NE(term.ScreenDump().find("\nstatus 130\n"), std::string::npos) << term.ScreenDump();
    EXPECT_TRUE(term.SettingsAsBefore() && term.CursorVisible());
    EXPECT_EQ(ReadBytes(dir / "juego.txt"), listing);
    EXPECT_EQ(Files(dir.path), (Names{"juego.bak", "juego.txt"}));
  }
}

// A kill while the listing is being replaced: strace holds each fsync for half a second, and
// the signal comes once the temporary file exists.
TEST(Saving, EndSignalLeavesTheListingWholeAndNoTemporaryFile) {
  const std::string spaced = "1 06 00 0E 00 76 79 0F 0F 0F E6 534\n";
  TempDir dir;
  WriteBytes(dir / "juego.txt", spaced);
  Terminal term({.arguments = {"-D", "-o", "/dev/null", "-e", "trace=fsync", "-e",
                               "inject=fsync:delay_enter=500000", GRAVIX_PROGRAM, "juego.txt"},
                 .directory = dir.path,
                 .program = "strace"});
  if (!term.StartError().empty() || !term.WaitForText(1, 5, "---[ Editor ]"))
    GTEST_SKIP() << "strace cannot trace here: " << term.StartError() << term.ScreenDump();
  term.SendKeys("s");
  ASSERT_TRUE(term.WaitUntil([&](const Terminal&) { return Files(dir.path).size() > 2; }));
  term.Signal(SIGTERM);
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.EndSignal(), SIGTERM);
  const std::string listing = ReadBytes(dir / "juego.txt");
  EXPECT_TRUE(listing == spaced || listing == "1 06000E0076790F0F0FE6 534\n") << listing;
  EXPECT_EQ(Files(dir.path), (Names{"juego.bak", "juego.txt"}));
}

}  // namespace
