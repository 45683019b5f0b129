// Whole sessions of the real program, driven by the keys a terminal sends, and the files they
// leave.
#include <gtest/gtest.h>

#include "e2e/terminal.h"

namespace {

using std::string;
using namespace std::string_literals;

// A wrong digit mended with Down, End, Backspace and a key (row 10 changes colour), compiled
// with Enter before any save, then saved with S and left with Ctrl+C, which is X, answered N.
TEST(Session, ACorrectedLineIsCompiledUnsavedThenSaved) {
  TempDir dir;
  const string typed =
      "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0E 981\n3 0F0FE607D3FEC9000000 933\n";
  WriteBytes(dir / "borde.txt", typed);
  Terminal term({.arguments = {"borde.txt"}, .directory = dir.path});
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  term.SendKeys("\x1b[B\x1b[F\x7f");
  ASSERT_TRUE(term.WaitForText(62, 10, "(d)")) << term.ScreenDump();
  EXPECT_EQ(term.Colour(10, 10), 10);  // too short: light green
  term.SendKeys("f");
  term.SendKeys("\rborde\r65536\r32768\r25\r");  // the address out of range: asked again
  ASSERT_TRUE(term.WaitForText(32, 18, "Pulsa una tecla.")) << term.ScreenDump();
  // Header, then the data block: flag FF, the 25 bytes of the mended lines, their XOR.
  EXPECT_EQ(ReadBytes(dir / "borde.tap"),
            "\x13\0\0\3borde     \x19\0\0\x80\0\x80\x44\x1b\0\xFF\x06\x00\x0E\x00\x76\x79\x0F\x0F"
            "\x0F\xE6\x07\xD3\xFE\x0C\x10\xF4\x3A\x48\x5C\x0F\x0F\x0F\xE6\x07\xD3\xC0"s);
  EXPECT_EQ(ReadBytes(dir / "borde.txt"), typed);
  term.SendKeys(" s");
  ASSERT_TRUE(term.WaitForText(16, 17, "Los cambios han sido guardados. Pulsa una tecla."));
  const string saved = typed.substr(0, 48) + "F" + typed.substr(49);
  EXPECT_EQ(ReadBytes(dir / "borde.txt"), saved);
  term.SendKeys(" \x03n\r");  // Ctrl+C is X: not leaving without saving, saved again
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0);
  EXPECT_EQ(term.ScreenDump(), string(25, '\n'));  // the screen left clear
  EXPECT_TRUE(term.CursorVisible());
  EXPECT_EQ(ReadBytes(dir / "borde.txt"), saved);
  EXPECT_EQ(ReadBytes(dir / "borde.bak"), typed);
}

// A listing typed from scratch: Insert starts each line, a stray one goes before the compile,
// and Q creates the file; nothing was there to back up. Its name is 300 characters long (through
// folders: no file system takes such a name): every file operation must use all of it, or it
// would reach another file.
TEST(Session, ANewListingIsTypedCompiledAndCreated) {
  TempDir dir;
  const string name = string(120, 'a') + "/" + string(120, 'b') + "/" + string(54, 'c');
  std::filesystem::create_directories(dir.path / name);
  Terminal term({.arguments = {"--new", name + ".txt"}, .directory = dir.path});
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  term.SendKeys("\x1b[2~06000e0076790F0F0FE6\t534\x1b[2~07D3FE0C10F43A485C0F\t981\x1b[2~");
  ASSERT_TRUE(term.WaitForText(1, 10, "     3" + string(55, ' ') + "(d)")) << term.ScreenDump();
  term.SendKeys("\rNUEVO\r32768\r20\r");
  ASSERT_TRUE(term.WaitToShow("Bytes: 20")) << term.ScreenDump();
  EXPECT_EQ(ReadBytes(dir / (name + ".tap")).substr(24, 20),
            "\x06\x00\x0E\x00\x76\x79\x0F\x0F\x0F\xE6\x07\xD3\xFE\x0C\x10\xF4\x3A\x48\x5C\x0F"s);
  EXPECT_FALSE(std::filesystem::exists(dir / (name + ".txt")));
  term.SendKeys(" q");
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0);
  EXPECT_EQ(ReadBytes(dir / (name + ".txt")),
            "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n");
  EXPECT_FALSE(std::filesystem::exists(dir / (name + ".bak")));
}

// The loader's activity indicator changes frame for every stored line, but a frame the next
// one covers before the output is written never reaches the terminal.
TEST(Session, IndicatorFramesCoveredBeforeAWriteAreNotSent) {
  TempDir dir;
  string listing;
  for (int line = 1; line <= 2999; ++line)
    listing += std::to_string(line) + " 00000000000000000000 0\n";
  WriteBytes(dir / "juego.txt", listing + "3001 0000 0\n");  // 3000 missing
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.path});
  ASSERT_TRUE(term.WaitForText(1, 8, "   La linea \"3000\" es una linea de ceros (S/N): "))
      << term.ScreenDump();
  EXPECT_LT(term.RawOutput().size(), 2000u);  // two bytes a line would be 6000 by now
}

}  // namespace
