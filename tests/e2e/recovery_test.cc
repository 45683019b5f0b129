// The recovery file: typing not yet saved outlives a killed run, a closed terminal, a lost
// listing never saved, and comes back at the next start when asked for.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include "e2e/terminal.h"

namespace {

namespace fs = std::filesystem;
using std::string;

const string Question = "Recuperar los cambios sin guardar (S/N):";

// "(juego.rec, DD/MM/AAAA HH:MM)." as the start shows it, from the file's own time.
string Written(const string& file) {
  struct stat info {};
  stat(file.c_str(), &info);
  struct tm local {};
  localtime_r(&info.st_mtime, &local);
  char text[40];
  strftime(text, sizeof text, "%d/%m/%Y %H:%M).", &local);
  return text;
}

bool Holds(const string& file, const string& text) {
  return ReadBytes(file).find(text) != string::npos;
}

// Typed, the line changed, killed: the next start offers the typing back; S brings it, Q saves
// it, and neither the recovery file nor the question is there any more. Typed within one line,
// a second without a key, then the terminal closed: the same; N throws it away.
TEST(Recovery, TypingOutlivesAKilledRunAndAClosedTerminal) {
  TempDir dir;
  const string typed = "1 06000E0076790F0F0FE67 534\n" + Borde.substr(27);
  for (const auto& [keys, end, answer] :
       {std::tuple{"\x1b[F7\x1b[B", SIGKILL, "s"}, std::tuple{"\x1b[F7", SIGHUP, "n"}}) {
    WriteBytes(dir / "juego.txt", Borde);
    Terminal term({.arguments = {"juego.txt"}, .directory = dir.path});
    ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
    term.SendKeys(keys);
    ASSERT_TRUE(
        term.WaitUntil([&](const Terminal&) { return ReadBytes(dir / "juego.rec") == typed; }));
    term.Signal(end);
    ASSERT_TRUE(term.WaitForExit());
    EXPECT_EQ(term.EndSignal(), end);
    Terminal next({.arguments = {"juego.txt"}, .directory = dir.path});
    ASSERT_TRUE(next.WaitForText(1, 5, Question)) << next.ScreenDump();
    EXPECT_EQ(next.TrimmedRow(4), "Hay cambios sin guardar de una sesion anterior (juego.rec, " +
                                      Written(dir / "juego.rec"));
    EXPECT_EQ(next.Colour(1, 4) * 100 + next.Colour(1, 5), 14 * 100 + 15);
    next.SendKeys(answer);
    ASSERT_TRUE(next.WaitForText(1, 5, "---[ Editor ]")) << next.ScreenDump();
    const bool recovered = string(answer) == "s";
    EXPECT_EQ(next.Text(10, 10, 21), recovered ? "06000E0076790F0F0FE67" : "06000E0076790F0F0FE6 ");
    next.SendKeys("q");
    ASSERT_TRUE(next.WaitForExit()) << next.ScreenDump();
    EXPECT_EQ(ReadBytes(dir / "juego.txt"), recovered ? typed : Borde);
    EXPECT_EQ(Files(dir.path), (std::set<string>{"juego.bak", "juego.txt"}));
  }
  // A second GRAVIX on the listing keeps no recovery file: the first one's stays as it wrote it,
  // whatever the second one holds when it ends.
  Terminal first({.arguments = {"juego.txt"}, .directory = dir.path});
  ASSERT_TRUE(first.WaitForText(1, 5, "---[ Editor ]")) << first.ScreenDump();
  Terminal second({.arguments = {"juego.txt"}, .directory = dir.path});
  ASSERT_TRUE(second.WaitForText(1, 5, "---[ Editor ]")) << second.ScreenDump();
  first.SendKeys("\x1b[F7\x1b[B");
  ASSERT_TRUE(
      first.WaitUntil([&](const Terminal&) { return ReadBytes(dir / "juego.rec") == typed; }));
  second.SendKeys("\x1b[F8\x1b[B");
  second.Signal(SIGTERM);
  ASSERT_TRUE(second.WaitForExit());
  EXPECT_EQ(ReadBytes(dir / "juego.rec"), typed);
  first.SendKeys("xs");
  ASSERT_TRUE(first.WaitForExit());
  EXPECT_EQ(Files(dir.path), (std::set<string>{"juego.bak", "juego.txt"}));
}

// A listing typed from scratch and never saved lives on in its recovery file: the next start
// on its name asks instead of finding no file, and the first save creates it.
TEST(Recovery, ANewListingNeverSavedComesBack) {
  TempDir dir;
  Terminal typing({.arguments = {"--new", "nuevo.txt"}, .directory = dir.path});
  ASSERT_TRUE(typing.WaitForText(1, 5, "---[ Editor ]")) << typing.ScreenDump();
  typing.SendKeys("\x1b[2~0F0F");
  ASSERT_TRUE(typing.WaitUntil([&](const Terminal&) { return Holds(dir / "nuevo.rec", "0F0F"); }));
  typing.Signal(SIGKILL);
  ASSERT_TRUE(typing.WaitForExit());
  Terminal next({.arguments = {"nuevo.txt"}, .directory = dir.path});
  ASSERT_TRUE(next.WaitForText(1, 5, Question)) << next.ScreenDump();
  next.SendKeys("sq");
  ASSERT_TRUE(next.WaitForExit()) << next.ScreenDump();
  EXPECT_EQ(next.ExitCode(), 0);
  EXPECT_EQ(ReadBytes(dir / "nuevo.txt"), "1 0F0F \n");
  EXPECT_EQ(Files(dir.path), (std::set<string>{"nuevo.txt"}));
}

}  // namespace
