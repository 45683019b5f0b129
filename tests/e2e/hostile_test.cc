// Hostile listings and file names in a real terminal: binary bytes, NULs, terminal commands,
// very long lines, then random keys. Nothing may crash or hang, and every escape sequence the
// terminal receives is one of the program's own.
#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "e2e/terminal.h"

namespace {

using std::string;

// count pieces, one in four a random byte; never Q or X, which would end the run too soon.
string Random(std::mt19937& random, int count, const std::vector<string>& pieces) {
  string text;
  while (count-- > 0)
    text += random() % 4 ? pieces[random() % pieces.size()] : string(1, char(random()));
  for (char& c : text) c = string("qQxX").find(c) == string::npos ? c : 'n';
  return text;
}

// Three listings of binary lines (title, colour, screen switch, status request, 8-bit CSI,
// reset, bell, back space, NUL), their questions answered, 300 random keys as a terminal sends
// them, cut escape sequences among them, then a way out of any state: Home ends a pause, Q
// quits, N answers "Salir SIN guardar", the rest finishes a prompt. Last a hostile name, which
// the compile summary shows.
TEST(Hostile, BinaryListingsAndNamesReachTheTerminalOnlyAsText) {
  std::mt19937 random(20261207);
  const string name = "\x1b]2;HOSTIL\x07\x1b[31m\2332J.txt";
  for (int run = 1; run <= 4; ++run) {
    string listing = "1 06000E0076790F0F0FE6 534\n", keys = "\rP\r0\r10\r ";
    for (int line = 0; line < 200 && run < 4; ++line)
      listing += Random(random, random() % 20 ? random() % 60 : 15000,
                        {"\x1b]2;HOSTIL\x07", "\x1b[31m", "\x1b[?1049h", "\x1b[6n", "\2332J",
                         "\033c", "\x07\x08", string(1, '\0'), "0", "7", "A", " ", "12"}) +
                 (random() % 2 ? "\n" : "\r");
    for (const char c : listing.substr(27))
      keys += c == '\n' || c == '\r' ? "\177\177\177\1779999\rN" : "";
    keys += Random(random, 300,
                   {"\x1b[A", "\x1b[6~", "\x1b[H", "\x1b[3~", "\x1bOP", "\x1b[1;5", "\x1bO", "\x1b",
                    "0", "9", "a", "g", "h", "s", "n", "\t", "\r"});
    for (int i = 0; i < 6; ++i) keys += "\x1b[HQN" + string(10, '\x7f') + "1\r";
    TempDir dir;
    WriteBytes(dir / (run < 4 ? "juego.txt" : name), listing);
    Terminal term({.arguments = {run < 4 ? "juego.txt" : name}, .directory = dir.path});
    ASSERT_TRUE(term.WaitToShow("GRAVIX v")) << term.StartError();  // raw: no key echoed
    // In pieces, with a pause that lets a cut escape sequence time out.
    for (size_t start = 0; start < keys.size(); start += 128) {
      term.SendKeys(std::string_view(keys).substr(start, 128));
      term.Pause(Wait(20));
    }
    ASSERT_TRUE(term.WaitForExit(std::chrono::seconds(60))) << term.ScreenDump();
    EXPECT_EQ(term.ExitCode(), 0) << term.ScreenDump();
    EXPECT_TRUE(term.SettingsAsBefore());
    // Once the program's own sequences (cursor moves, clears, colours, the cursor shown or
    // hidden) are taken out, no control byte but line feed, return and back space is left.
    const string rest = std::regex_replace(
        term.RawOutput(),
        std::regex("\x1b\\[(\\d+;\\d+H|H|\\d+G|C|2J|K|(0;(1;)?3[0-7];40|(1|22)(;3[0-7])?|3[0-7]|0)"
                   "m|\\?25[hl])"),
        "");
    EXPECT_NE(rest.find(run < 4 ? "Procesando" : "Archivo: ?]2;HOSTIL??[31m"), string::npos);
    std::smatch foreign;
    EXPECT_FALSE(std::regex_search(rest, foreign,
                                   std::regex("[\\x00-\\x07\\x09\\x0b\\x0c\\x0e-\\x1f].{0,15}")))
        << ::testing::PrintToString(foreign.str());
  }
}

}  // namespace
