// The program meeting faults (a full disk, a folder taken away or made read-only, end signals
// and Ctrl+C in its waits). Whatever happens the terminal is left as it was, the listing and its
// backup are old or new and never cut, no temporary file is left, and a save that fails never ends
// the editor.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "e2e/terminal.h"

namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;
using std::string;

// A gap the loader asks about; S puts in 298 zero lines still to be typed. The backup is 50 B.
const string GapListing = ZeroLines(1, 1) + ZeroLines(300, 300);
string GapFilled() {
  string lines = ZeroLines(1, 1);
  for (int line = 2; line < 300; ++line)
    lines += std::to_string(line) + " " + string(20, '0') + " \n";
  return lines + ZeroLines(300, 300);
}

// At `shown`, after the keys typed at the loader's question: an end signal or Ctrl+C ends the
// run as if not caught. An old backup is there at the start: it is replaced whole before the
// question, so whatever ends the run finds it complete.
enum Change { Signal, CtrlC };
struct End {
  string name, keys, shown;
  Change change;
  int code;  // the exit status or the end signal
  bool inEditor = false;
  string listing = GapListing;
};
void PrintTo(const End& end, std::ostream* out) { *out << end.name; }
class Ends : public ::testing::TestWithParam<End> {};

TEST_P(Ends, RestoreTheTerminalAndLeaveTheListingAndAWholeBackup) {
  const auto& [name, keys, shown, change, code, inEditor, old] = GetParam();
  const rlimit noCore{0, 0};  // SIGQUIT's core dump would be a stray file beside the listing
  ASSERT_EQ(setrlimit(RLIMIT_CORE, &noCore), 0);
  TempDir dir;
  WriteBytes(dir / "juego.txt", old);
  WriteBytes(dir / "juego.bak", "an older typing\n");
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.path});
  ASSERT_TRUE(term.WaitToShow("(S/N):")) << term.ScreenDump();
  term.SendKeys(keys);
  ASSERT_TRUE(term.WaitToShow(shown)) << term.ScreenDump();
  EXPECT_TRUE(term.Raw());
  if (change == Signal) term.Signal(code);
  if (change == CtrlC) term.SendKeys("\x03");
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.EndSignal(), code);
  EXPECT_TRUE(term.SettingsAsBefore() && term.CursorVisible());
  EXPECT_EQ(ReadBytes(dir / "juego.txt"), old);
  EXPECT_EQ(ReadBytes(dir / "juego.bak"), old);
  // In the editor the end waits until the lines not saved are in the recovery file, and the
  // screen goes as at a normal end.
  EXPECT_EQ(ReadBytes(dir / "juego.rec"), inEditor ? GapFilled() : "");
  EXPECT_TRUE(!inEditor || term.ScreenDump() == string(25, '\n')) << term.ScreenDump();
  EXPECT_EQ(Files(dir.path), (inEditor ? Names{"juego.bak", "juego.rec", "juego.txt"}
                                       : Names{"juego.bak", "juego.txt"}));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Runs, Ends, ::testing::Values(
    End{"TermAtTheQuestion", "", "", Signal, SIGTERM},
    End{"HupAtTheQuestion", "", "", Signal, SIGHUP},
    End{"CtrlCAtTheQuestion", "", "", CtrlC, SIGINT},
    End{"QuitAtThePause", "s", "Pulsa una tecla.", Signal, SIGQUIT},
    End{"TermInTheEditor", "s ", "---[ Editor ]", Signal, SIGTERM, true},
    End{"HupAtGoTo", "s g", "Ir a linea [1-300]:", Signal, SIGHUP, true},
    End{"CtrlCAtTheNumber", "s", "correcto:", CtrlC, SIGINT, false,
        GapListing + "x 00000000000000000000 0\n"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// A save or a tape image the disk, a folder taken away or a permission refuses: a notice in light
// red, and after a key the editor goes on with every line as typed, the file as it was, no
// temporary file left. Under a file-size limit that is then lifted, S saves everything. A
// read-only folder (the program runs as its owner, 65534) takes the listing, rewritten in
// place, but no tape image. 300 correct lines, about 7 KB saved.
enum Fault { None, FolderRemoved, ReadOnly };
struct SaveFault {
  string name, sizeLimit;
  Fault fault;
  string keys, notice;
};
void PrintTo(const SaveFault& fault, std::ostream* out) { *out << fault.name; }
class FailedSaves : public ::testing::TestWithParam<SaveFault> {};

TEST_P(FailedSaves, AreNoticesAndTheEditorGoesOn) {
  const auto& [name, sizeLimit, fault, keys, notice] = GetParam();
  TempDir dir;
  const fs::path folder = dir.path / "sub", listing = folder / "juego.txt";
  fs::create_directory(folder);
  WriteBytes(listing, ZeroLines(1, 300));
  WriteBytes(folder / "juego.bak", "older typing\n");  // kept: the listing is in saved form
  // Root runs the program as user 65534, who must own the folder as an ordinary user owns it.
  if (fault == ReadOnly && geteuid() == 0) {
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534) | chown(listing.c_str(), 65534, 65534), 0);
  }
  // Only the soft limit: the test may lift it again without a privilege.
  Terminal term({.arguments = {"--fsize=" + sizeLimit + ":unlimited", GRAVIX_PROGRAM, "juego.txt"},
                 .directory = folder,
                 .program = "prlimit",
                 .unprivileged = fault == ReadOnly});
  if (!term.StartError().empty()) GTEST_SKIP() << term.StartError();
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  if (fault == FolderRemoved) fs::remove_all(folder);
  if (fault == ReadOnly) chmod(folder.c_str(), 0555);
  term.SendKeys(keys);
  ASSERT_TRUE(term.WaitForText((80 - static_cast<int>(notice.size())) / 2, 17, notice))
      << term.ScreenDump();
  EXPECT_EQ(term.Colour(40, 17), 12) << term.Cells(17, 17);
  term.SendKeys(" ");
  ASSERT_TRUE(term.WaitUntil([](const Terminal& t) { return t.TrimmedRow(17).empty(); }));
  const string typed = keys.starts_with("1") ? "1" : "";  // a digit typed before saving
  EXPECT_EQ(term.TrimmedRow(10), "     1   " + typed + "00000000000000000000" +
                                     string(32 - typed.size(), ' ') +
                                     (typed.empty() ? "(0)" : "(D)") + "     0");
  if (sizeLimit != "unlimited") {  // room again: everything is saved
    ASSERT_EQ(
        RunPlain({"prlimit", "--pid", std::to_string(term.Pid()), "--fsize=unlimited"}, "/").status,
        0);
    term.SendKeys("s");
    ASSERT_TRUE(term.WaitToShow("Los cambios han sido guardados.")) << term.ScreenDump();
    term.SendKeys(" ");
  }
  term.SendKeys("xs");
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0);
  const bool saved = sizeLimit != "unlimited" && !typed.empty();
  if (fault != FolderRemoved) {
    EXPECT_EQ(ReadBytes(listing),
              (saved ? "1 1" + string(20, '0') + " 0\n" : ZeroLines(1, 1)) + ZeroLines(2, 300));
  }
  EXPECT_EQ(fs::exists(folder) ? Files(folder) : Names{},
            (fault == FolderRemoved ? Names{} : Names{"juego.bak", "juego.txt"}));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Runs, FailedSaves, ::testing::Values(
    SaveFault{"DiskFullOnS", "1024", None, "1s",
              "No se ha podido guardar: disco lleno. Pulsa una tecla."},
    SaveFault{"FolderRemoved", "unlimited", FolderRemoved, "xns",
              "No se ha podido guardar: error 2. Pulsa una tecla."},
    SaveFault{"FolderReadOnlyForTheTape", "unlimited", ReadOnly, "\rP\r0\r3000\r\r",
              "No se ha podido escribir la cinta: sin permiso. Pulsa una tecla."}),
    [](const auto& info) { return info.param.name; });
// clang-format on

}  // namespace
