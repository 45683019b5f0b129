// The built program meeting faults: a full disk, a directory or listing taken away, an input
// that ends, end signals in every waiting state. Whatever happens the terminal is left as it
// was, the listing is the old one or the new one and never cut, no temporary file is left,
// and the run ends with the status (or signal) the README gives.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "e2e/terminal.h"

namespace {

namespace fs = std::filesystem;

constexpr int Nobody = 65534;
const std::string GoodLine = "1 06000E0076790F0F0FE6 534\n";
// Two lines with a gap: the loader asks "(S/N)"; S makes 300 correct lines, about 7 KB saved.
const std::string GapListing = "1 00000000000000000000 0\n300 00000000000000000000 0\n";

std::set<std::string> Files(const fs::path& directory) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory))
    names.insert(entry.path().filename().string());
  return names;
}

bool ScreenShows(const Terminal& term, std::string_view text) {
  return term.ScreenDump().find(text) != std::string::npos;
}

void WaitForEditor(Terminal& term) {
  ASSERT_TRUE(term.Started()) << term.StartError();
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
}

// The end every fault must reach: the terminal as it was, and the status expected.
void ExpectRuntimeError(Terminal& term, int code) {
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), code) << term.ScreenDump();
  EXPECT_TRUE(ScreenShows(term, "Runtime error " + std::to_string(code))) << term.ScreenDump();
  EXPECT_TRUE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
  EXPECT_TRUE(term.CursorVisible());
}

// Runs GRAVIX on juego.txt under a file-size limit: a write past it fails with EFBIG, as a
// full disk fails with ENOSPC.
ProgramOptions LimitedRun(const ScratchDirectory& dir, int bytes) {
  return {.arguments = {"--fsize=" + std::to_string(bytes), GRAVIX_PROGRAM, "juego.txt"},
          .directory = dir.Path(),
          .program = "prlimit"};
}

TEST(Faults, FullDiskWhileWritingTheBackupTheListingOrTheTapeImage) {
  {
    SCOPED_TRACE("backup");
    ScratchDirectory dir;
    std::string listing;
    for (int line = 1; line <= 60; ++line)
      listing += std::to_string(line) + " 00000000000000000000 0\n";
    WriteFileBytes(dir.Path() / "juego.txt", listing);
    Terminal term(LimitedRun(dir, 1024));
    if (!term.Started()) GTEST_SKIP() << "prlimit cannot be run: " << term.StartError();
    ExpectRuntimeError(term, EFBIG);
    EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"), listing);
    EXPECT_EQ(Files(dir.Path()), (std::set<std::string>{"juego.bak", "juego.txt"}));
  }
  for (const std::string keys : {"q", "\rP\r0\r3000\r"}) {
    SCOPED_TRACE(keys == "q" ? "save" : "tape image");
    ScratchDirectory dir;
    WriteFileBytes(dir.Path() / "juego.txt", GapListing);
    Terminal term(LimitedRun(dir, 1024));
    ASSERT_TRUE(term.WaitUntil([](const Terminal& t) { return ScreenShows(t, "(S/N):"); }));
    term.SendKeys("s ");
    ASSERT_NO_FATAL_FAILURE(WaitForEditor(term));
    term.SendKeys(keys);
    ExpectRuntimeError(term, EFBIG);
    EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"), GapListing);
    EXPECT_EQ(Files(dir.Path()), (std::set<std::string>{"juego.bak", "juego.txt"}));
  }
}

TEST(Faults, DirectoryRemovedOrListingReplacedByADirectoryAfterStartUp) {
  {
    SCOPED_TRACE("directory removed");
    ScratchDirectory dir;
    fs::create_directory(dir.Path() / "sub");
    WriteFileBytes(dir.Path() / "sub/juego.txt", GoodLine);
    Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path() / "sub"});
    ASSERT_NO_FATAL_FAILURE(WaitForEditor(term));
    fs::remove_all(dir.Path() / "sub");
    term.SendKeys("q");
    ExpectRuntimeError(term, ENOENT);
    EXPECT_TRUE(Files(dir.Path()).empty());
  }
  {
    SCOPED_TRACE("listing replaced by a directory");
    ScratchDirectory dir;
    WriteFileBytes(dir.Path() / "juego.txt", GoodLine);
    Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
    ASSERT_NO_FATAL_FAILURE(WaitForEditor(term));
    fs::remove(dir.Path() / "juego.txt");
    fs::create_directory(dir.Path() / "juego.txt");
    term.SendKeys("q");
    ExpectRuntimeError(term, EISDIR);
    EXPECT_EQ(Files(dir.Path()), (std::set<std::string>{"juego.bak", "juego.txt"}));
    EXPECT_TRUE(fs::is_empty(dir.Path() / "juego.txt"));
  }
}

// Made read-only after start-up: the listing is still saved, in place; the tape image, a new
// file, cannot be, and ends the run.
TEST(Faults, DirectoryMadeReadOnlyAfterStartUp) {
  ScratchDirectory dir;
  const fs::path folder = dir.Path() / "sub";
  fs::create_directory(folder);
  WriteFileBytes(folder / "juego.txt", "1 06 00 0E 00 76 79 0F 0F 0F E6 534\n");
  ASSERT_EQ(chown(folder.c_str(), Nobody, Nobody), 0);
  ASSERT_EQ(chown((folder / "juego.txt").c_str(), Nobody, Nobody), 0);
  struct stat before {};
  ASSERT_EQ(stat((folder / "juego.txt").c_str(), &before), 0);
  Terminal term({.arguments = {"juego.txt"}, .directory = folder, .unprivileged = true});
  if (!term.Started()) GTEST_SKIP() << "cannot run as user 65534: " << term.StartError();
  ASSERT_NO_FATAL_FAILURE(WaitForEditor(term));
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  term.SendKeys("s");
  ASSERT_TRUE(term.WaitUntil([](const Terminal& t) { return ScreenShows(t, "guardados"); }))
      << term.ScreenDump();
  term.SendKeys(" \rP\r0\r10\r");
  ExpectRuntimeError(term, EACCES);
  EXPECT_EQ(ReadFileBytes(folder / "juego.txt"), GoodLine);
  struct stat after {};
  ASSERT_EQ(stat((folder / "juego.txt").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(Files(folder), (std::set<std::string>{"juego.bak", "juego.txt"}));
}

// Keys from a pipe whose writer goes away while the G prompt waits.
TEST(Faults, StandardInputEndingMidRunIsARuntimeError) {
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / "juego.txt", GoodLine);
  const fs::path pipe = dir.Path() / "teclas";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // Held open for writing here only, so the program's own open does not wait for a writer.
  const int keys = open(pipe.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(keys, 0);
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path(), .standardInput = pipe});
  ASSERT_NO_FATAL_FAILURE(WaitForEditor(term));
  ASSERT_EQ(write(keys, "g12", 3), 3);
  ASSERT_TRUE(term.WaitForText(28, 17, "Ir a linea [1-1]: 12")) << term.ScreenDump();
  close(keys);
  ExpectRuntimeError(term, EIO);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"), GoodLine);
  EXPECT_EQ(Files(dir.Path()), (std::set<std::string>{"juego.bak", "juego.txt", "teclas"}));
}

struct WaitingState {
  const char* name;
  std::string keys;   // typed once the editor is up
  std::string shown;  // what the screen shows while it waits
};

// Each end signal in each kind of wait: the signal ends the run, the terminal is restored.
TEST(Faults, EndSignalsInTheLoaderTheEditorAndItsPrompts) {
  // A core dump (SIGQUIT's default) would be a stray file beside the listing.
  const rlimit noCore{0, 0};
  ASSERT_EQ(setrlimit(RLIMIT_CORE, &noCore), 0);
  const std::string listing = "1 06000E0076790F0F0FE6 534\n3 00000000000000000000 0\n";
  const WaitingState states[] = {
      {"loader dialogue", "", "(S/N):"},
      {"editor", "n ", "---[ Editor ]"},
      {"G prompt", "n g", "Ir a linea [1-2]:"},
      {"compile prompt", "n \r", "Nombre del programa:"},
  };
  for (const WaitingState& state : states) {
    for (int signalNumber : {SIGTERM, SIGHUP, SIGQUIT}) {
      SCOPED_TRACE(std::string(state.name) + ", signal " + std::to_string(signalNumber));
      ScratchDirectory dir;
      WriteFileBytes(dir.Path() / "juego.txt", listing);
      Terminal term({.arguments = {"juego.txt"}, .directory = dir.Path()});
      ASSERT_TRUE(term.Started()) << term.StartError();
      ASSERT_TRUE(term.WaitUntil([](const Terminal& t) { return ScreenShows(t, "(S/N):"); }))
          << term.ScreenDump();
      term.SendKeys(state.keys);
      ASSERT_TRUE(term.WaitUntil([&](const Terminal& t) { return ScreenShows(t, state.shown); }))
          << term.ScreenDump();
      EXPECT_FALSE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
      term.Signal(signalNumber);
      ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
      EXPECT_EQ(term.EndSignal(), signalNumber);
      EXPECT_TRUE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
      EXPECT_TRUE(term.CursorVisible());
      EXPECT_EQ(ReadFileBytes(dir.Path() / "juego.txt"), listing);
      EXPECT_EQ(Files(dir.Path()), (std::set<std::string>{"juego.bak", "juego.txt"}));
    }
  }
}

// A kill while the listing is being replaced: strace holds each fsync for half a second, and the
// signal comes once the temporary file exists. The listing is then whole, old or new, and the
// temporary file is gone.
TEST(Faults, EndSignalWhileSavingLeavesNoTemporaryFile) {
  ScratchDirectory dir;
  const std::string oldListing = "1 06 00 0E 00 76 79 0F 0F 0F E6 534\n";
  WriteFileBytes(dir.Path() / "juego.txt", oldListing);
  Terminal term({.arguments = {"-D", "-o", "/dev/null", "-e", "trace=fsync", "-e",
                               "inject=fsync:delay_enter=500000", GRAVIX_PROGRAM, "juego.txt"},
                 .directory = dir.Path(),
                 .program = "strace"});
  if (!term.Started()) GTEST_SKIP() << "strace cannot be run: " << term.StartError();
  if (!term.WaitForText(1, 5, "---[ Editor ]"))
    GTEST_SKIP() << "strace cannot trace here:\n" << term.ScreenDump();
  term.SendKeys("s");
  ASSERT_TRUE(term.WaitUntil([&](const Terminal&) {
    const std::set<std::string> names = Files(dir.Path());
    return std::any_of(names.begin(), names.end(),
                       [](const std::string& name) { return name.starts_with(".gravix-"); });
  }));
  term.Signal(SIGTERM);
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.EndSignal(), SIGTERM);
  EXPECT_TRUE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
  const std::string listing = ReadFileBytes(dir.Path() / "juego.txt");
  EXPECT_TRUE(listing == oldListing || listing == GoodLine) << listing;
  EXPECT_EQ(Files(dir.Path()), (std::set<std::string>{"juego.bak", "juego.txt"}));
}

}  // namespace
