// The terminal as a user meets it: a window resized, foreign output, keys over a slow link,
// locales other than UTF-8.
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "e2e/terminal.h"

namespace {

using std::string;

const string Borde =
    "1 06000E0076790F0F0FE6 534\n2 07D3FE0C10F43A485C0F 981\n3 0F0FE607D3FEC9000000 933\n";

// Cells, cursor and its visibility as they are on another terminal.
bool SameScreen(const Terminal& term, const Terminal& other) {
  return term.Cells() == other.Cells() && term.CursorRow() == other.CursorRow() &&
         term.CursorColumn() == other.CursorColumn() &&
         term.CursorVisible() == other.CursorVisible();
}

// A resize to 60x20 and back, with a digit typed while small, then foreign output wiped by
// Ctrl+L: each time the screen is, cell for cell, a fresh run's after the same keys.
TEST(Repaint, AResizeAndCtrlLBringBackTheScreenCellForCell) {
  TempDir dir;
  WriteBytes(dir / "juego.txt", Borde);
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.path}),
      fresh({.arguments = {"juego.txt"}, .directory = dir.path});
  auto same = [&](const Terminal& t) { return SameScreen(t, fresh); };
  const string keys = "\x1b[Bh5";  // Down, the second key help page, a digit
  term.SendKeys(keys);
  fresh.SendKeys(keys + "7");
  ASSERT_TRUE(fresh.WaitForText(10, 10, "5707D3FE0C")) << fresh.ScreenDump();
  term.Resize(20, 60);
  term.SendKeys("7");
  term.Resize(25, 80);
  EXPECT_TRUE(term.WaitUntil(same, Wait(3000))) << term.Cells() << fresh.Cells();
  term.ShowForeign("\x1b[H\x1b[2J\x1b[31mMensaje de otro programa\r\n");
  ASSERT_FALSE(same(term));
  term.SendKeys("\x0c");
  EXPECT_TRUE(term.WaitUntil(same)) << term.ScreenDump();
}

// An arrow key whose bytes come 50 ms apart is still the arrow; a lone Escape (nothing follows
// within 100 ms) does nothing and leaves the key after it as itself.
TEST(SlowLink, ASplitArrowMovesAndALoneEscapeKeepsTheDigitAfterIt) {
  TempDir dir;
  WriteBytes(dir / "juego.txt", Borde);
  Terminal term({.arguments = {"juego.txt"}, .directory = dir.path});
  ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
  term.SendKeys("\x1b");
  term.Pause(Wait(50));
  term.SendKeys("[C");
  ASSERT_TRUE(term.WaitUntil([](const Terminal& t) { return t.CursorColumn() == 11; }));
  EXPECT_EQ(term.Text(10, 10, 21), "06000E0076790F0F0FE6 ");
  term.SendKeys("\x1b");
  term.Pause(Wait(150));
  term.SendKeys("5");
  EXPECT_TRUE(term.WaitForText(10, 10, "056000E0076790F0F0FE6")) << term.ScreenDump();
}

// The same keys give the same tape image in every locale: "ñ" typed in UTF-8 or in Latin-1 is
// code page 437's 0xA4; the C locale has no ñ and writes no byte above 127 (ª shown as "?").
TEST(Locale, TheTapeNameIsTheSameInEveryLocaleAndTheCLocaleGetsAscii) {
  TempDir locales;
  ASSERT_EQ(
      std::system(
          ("localedef -i es_ES -f ISO-8859-1 " + (locales / "es_ES.ISO-8859-1") + " >&2").c_str()),
      0)
      << "the locales package missing?";
  for (const auto& [setting, typed, taped] :
       {std::tuple<string, string, string>{"LC_ALL=C.UTF-8", "A\xc3\xb1", "A\xa4"},
        {"LC_ALL=es_ES.ISO-8859-1", "A\xf1", "A\xa4"},
        {"LC_ALL=C", "A\xf1", "A"}}) {
    TempDir dir;
    WriteBytes(dir / "juego.txt", Borde);
    Terminal term({.arguments = {"juego.txt"},
                   .directory = dir.path,
                   .environment = {"LOCPATH=" + locales.path.string(), setting}});
    ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
    term.SendKeys("\r" + typed + "\r32768\r30\r");
    ASSERT_TRUE(term.WaitToShow("Pulsa una tecla.")) << term.ScreenDump();
    EXPECT_EQ(ReadBytes(dir / "juego.tap").substr(4, 10), taped + string(10 - taped.size(), ' '));
    if (setting == "LC_ALL=C") {
      EXPECT_EQ(term.TrimmedRow(25), string(25, ' ') + "H = Ver 2? pantalla de teclas");
      for (char c : term.RawOutput()) ASSERT_LT(static_cast<uint8_t>(c), 128);
    }
  }
}

}  // namespace
