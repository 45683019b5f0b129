// Whole sessions of the real program, driven by the keys a terminal sends, and the files they
// leave; keys over a slow link, a window resized.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "e2e/terminal.h"

namespace {

using std::string;
using namespace std::string_literals;

// The data block of the border routine's first 25 bytes: length, flag FF, the bytes, their XOR.
const string Data =
    "\x1b\0\xFF\x06\x00\x0E\x00\x76\x79\x0F\x0F\x0F\xE6\x07\xD3\xFE\x0C\x10\xF4\x3A\x48"
    "\x5C\x0F\x0F\x0F\xE6\x07\xD3\xC0"s;

// A wrong digit mended with Down, End, Backspace and a key, compiled under a name with ñ before
// any save, saved with S, left with Ctrl+C (X) answered N; in each locale. The ñ typed in UTF-8 or
// Latin-1 is code page 437's 0xA4 on tape; the C locale has none and writes no byte above 127.
TEST(Session, ACorrectedLineIsCompiledUnsavedThenSavedInEachLocale) {
  TempDir locales;
  ASSERT_EQ(RunPlain({"localedef", "-i", "es_ES", "-f", "ISO-8859-1", locales / "es"}, "/").status,
            0)
      << "the locales package missing?";
  const string typed = Borde.substr(0, 48) + "E" + Borde.substr(49);
  for (const auto& [setting, name, taped] :
       {std::tuple<string, string, string>{"LC_ALL=C.UTF-8", "A\xc3\xb1", "A\xa4        "},
        {"LC_ALL=es", "A\xf1", "A\xa4        "},
        {"LC_ALL=C", "A\xf1", "A         "}}) {
    TempDir dir;
    WriteBytes(dir / "borde.txt", typed);
    Terminal term({.arguments = {"borde.txt"},
                   .directory = dir.path,
                   .environment = {"LOCPATH=" + locales.path.string(), setting}});
    ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
    term.SendKeys("\x1b[B\x1b[F\x7f");
    ASSERT_TRUE(term.WaitForText(62, 10, "(d)")) << term.ScreenDump();
    term.SendKeys("f\r" + name +
                  "\r65536\r32768\r25\r\r");  // the address out of range: asked again
    ASSERT_TRUE(term.WaitForText(32, 18, "Pulsa una tecla.")) << term.ScreenDump();
    const char sum = taped[1] == ' ' ? '\x7b' : '\xff';  // the header's XOR
    EXPECT_EQ(ReadBytes(dir / "borde.tap"),
              "\x13\0\0\3"s + taped + "\x19\0\0\x80\0\x80"s + sum + Data);
    EXPECT_EQ(ReadBytes(dir / "borde.txt"), typed);
    const bool ascii = setting == "LC_ALL=C";
    EXPECT_TRUE(!ascii || term.TrimmedRow(25) == string(25, ' ') + "H = Ver 2? pantalla de teclas");
    term.SendKeys(" s");
    ASSERT_TRUE(term.WaitForText(16, 17, "Los cambios han sido guardados. Pulsa una tecla."));
    EXPECT_EQ(ReadBytes(dir / "borde.txt"), Borde);
    term.SendKeys(" \x03n\r");  // not leaving without saving: saved again
    ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
    EXPECT_EQ(std::tuple(term.ExitCode(), term.ScreenDump(), term.CursorVisible()),
              std::tuple(0, string(25, '\n'), true));
    EXPECT_EQ(ReadBytes(dir / "borde.txt"), Borde);
    EXPECT_EQ(ReadBytes(dir / "borde.bak"), typed);
    EXPECT_EQ(std::ranges::none_of(term.RawOutput(), [](char c) { return c & 0x80; }), ascii);
  }
}

// The border routine as a tired typist leaves it: lower case, a line typed twice, a line
// numbered one too high, one cut by a stray line end, an O for a 0, one extra line and a gap.
// The loader asks twice; Enter stops at the zero line put in; Ctrl+Y takes the extra lines out;
// P names the O; the tape is what the assembler makes of the routine.
TEST(Session, ATypistsSlipsFromTheFileToTheTape) {
  TempDir dir;
  const string routine = dir / "rutina.bin";
  ASSERT_EQ(
      RunPlain({"pasmo", "--bin", GRAVIX_SOURCE_DIR "/examples/borde.asm", routine}, "/").status,
      0);
  WriteBytes(dir / "juego.txt",
             "1 06000e0076790f0f0fe6 534\n1 06000e0076790f0f0fe6 534\n"
             "3 07D3FE0C1OF43A485C0F 981\n4 0F0FE607D3\nFEC9000000 933\n"
             "6 00112233445566778899 765\n");
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.path});
  ASSERT_TRUE(term.WaitToShow("    Linea 1 repetida: se quita la copia")) << term.ScreenDump();
  ASSERT_TRUE(term.WaitToShow("es una linea de ceros (S/N):")) << term.ScreenDump();
  term.SendKeys("n");
  ASSERT_TRUE(term.WaitToShow("Lineas de ceros desde \"4\" hasta \"5\" (S/N):"));
  term.SendKeys("s");
  ASSERT_TRUE(term.WaitToShow("    Linea 3 partida: se une con la siguiente linea del fichero"));
  term.SendKeys(" \x1b[Bp");
  ASSERT_TRUE(term.WaitForText(3, 17, "Pista: posicion 10: 0 en vez de O")) << term.ScreenDump();
  term.SendKeys("\x1b[H\x1b[C\x1b[C\x1b[C\x1b[C\x1b[C\x1b[C\x1b[C\x1b[C\x1b[C\x1b[3~0\r");
  ASSERT_TRUE(term.WaitToShow("Error en la linea 4. Pulsa una tecla")) << term.ScreenDump();
  term.SendKeys(" \x19");
  ASSERT_TRUE(term.WaitForText(27, 17, "Borrar la linea 4 (S/N):")) << term.ScreenDump();
  term.SendKeys("s\x19s\x19s");
  ASSERT_TRUE(term.WaitForText(1, 10, "     3   0F0FE607D3FEC9000000")) << term.ScreenDump();
  term.SendKeys("\rR\r32768\r27\r\r");
  ASSERT_TRUE(term.WaitToShow("Bytes: 27")) << term.ScreenDump();
  const string image = ReadBytes(dir / "juego.tap");
  EXPECT_EQ(image.substr(24, image.size() - 25), ReadBytes(routine));
  term.SendKeys(" q");
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(ReadBytes(dir / "juego.txt"), Borde);
}

// Escape leaves each of the editor's prompts with nothing done; a start address puts a loader
// on the tape that starts the code, the same image --tap --usr writes. Names outside ASCII show
// as themselves.
TEST(Session, EscapeLeavesEveryPromptAndAStartAddressMakesATapeThatRunsItself) {
  TempDir dir, other;
  const string listing =
                   "\xc3\xb1"
                   "and\xc3\xba.txt",
               image =
                   "\xc3\xb1"
                   "and\xc3\xba.tap";
  WriteBytes(dir / listing, Borde);
  WriteBytes(other / listing, Borde);
  Terminal term({.arguments = {listing}, .directory = dir.path});
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  for (const auto& [keys, prompt] : {std::pair{"\r", "Nombre del programa:"},
                                     {"\rB\r", "Direccion del DUMP"},
                                     {"\rB\r32768\r", "BYTES"},
                                     {"\rB\r32768\r27\r", "(ENTER = sin cargador):"},
                                     {"g", "Ir a linea [1-3]:"},
                                     {"x", "Salir SIN guardar"}}) {
    term.SendKeys(keys);
    ASSERT_TRUE(term.WaitToShow(prompt)) << prompt << term.ScreenDump();
    term.SendKeys("\x1b");
    ASSERT_TRUE(term.WaitUntil([](const Terminal& t) { return t.TrimmedRow(17).empty(); }))
        << prompt << term.ScreenDump();
    EXPECT_EQ(Files(dir.path).size(), 2u) << prompt;  // the listing and its backup
  }
  term.SendKeys("\rB\xc3\xb1\r32768\r27\r32768\r");
  ASSERT_TRUE(term.WaitToShow("Bytes: 27   #   USR: 32768")) << term.ScreenDump();
  EXPECT_EQ(term.TrimmedRow(16), string(30, ' ') + "Archivo: " + image);
  const PlainRun tap = RunPlain(
      {GRAVIX_PROGRAM, "--tap", "B\xc3\xb1", "32768", "27", "--usr", "32768", listing}, other.path);
  EXPECT_EQ(tap.output, "Archivo: " + image +
                            "\nPrograma: \"B\xc3\xb1        \"   #   Dump: 32768"
                            "   #   Bytes: 27   #   USR: 32768\n");
  EXPECT_EQ(ReadBytes(other / image), ReadBytes(dir / image));
  // A locale that knows only ASCII has no way to say the name.
  EXPECT_EQ(RunPlain({GRAVIX_PROGRAM, "--tap", "B\xc3\xb1", "32768", "27", listing}, other.path,
                     {"LC_ALL=C"})
                .errors,
            "gravix: NOMBRE solo admite caracteres ASCII en este idioma (LANG=C)\n"
            "Uso: gravix --help\n");
  term.SendKeys(" q");
  ASSERT_TRUE(term.WaitForExit());
}

// An arrow whose bytes come 150 and 300 ms apart over a slow link is still the arrow, none of
// its bytes typed; a lone Escape leaves the digit after it alone; Alt+P and Alt+] do nothing
// (P alone would give a hint); after a resize with a digit
// typed while small the screen is, cell for cell, a fresh run's after the same keys.
TEST(Repaint, ASlowLinkAndAResizeGiveAFreshRunsScreen) {
  TempDir dir;
  WriteBytes(dir / "juego.txt", Borde);
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.path}),
      fresh({.arguments = {"juego.txt"}, .directory = dir.path});
  auto same = [&](const Terminal& t) {
    return t.Cells() == fresh.Cells() && t.CursorVisible() == fresh.CursorVisible() &&
           std::pair(t.CursorRow(), t.CursorColumn()) ==
               std::pair(fresh.CursorRow(), fresh.CursorColumn());
  };
  fresh.SendKeys("\x1b[Bh57");  // Down, the second key help page, two digits
  ASSERT_TRUE(fresh.WaitForText(10, 10, "5707D3FE0C")) << fresh.ScreenDump();
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  for (const auto& [keys, pause] :
       {std::pair{"\x1b", 150}, {"[", 300}, {"Bh\x1b", 150}, {"5\x1bP\x1b]", 0}}) {
    term.SendKeys(keys);
    term.Pause(Wait(pause));
  }
  ASSERT_TRUE(term.WaitForText(10, 10, "507D3FE0C")) << term.ScreenDump();
  term.Resize(20, 60);
  term.SendKeys("7");
  term.Resize(25, 80);
  EXPECT_TRUE(term.WaitUntil(same, Wait(3000))) << term.Cells() << fresh.Cells();
}

}  // namespace
