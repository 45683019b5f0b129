// Hostile listings and file names in a real terminal: binary bytes, NULs, terminal commands,
// very long lines, 100 000 lines, then random keys. Nothing may crash or hang, and every
// escape sequence the terminal receives is one of the program's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>

#include "e2e/terminal.h"

namespace {

using std::string;

std::mt19937 random(20261207);

// count pieces: one in four a whole string of `whole`, one a random byte, the rest characters.
string RandomBytes(int count, const std::vector<string>& whole, std::string_view characters) {
  string text;
  for (int i = 0; i < count; ++i) {
    const unsigned choice = random() % 4;
    text += choice == 0   ? whole[random() % whole.size()]
            : choice == 1 ? string(1, static_cast<char>(random()))
                          : string(1, characters[random() % characters.size()]);
  }
  return text;
}

// Title, colour, screen switch, status request, 8-bit CSI, reset, bell, back space, NUL.
string HostileText(int count) {
  return RandomBytes(count,
                     {"\x1b]2;HOSTIL\x07", "\x1b[31m", "\x1b[?1049h", "\x1b[6n", "\2332J", "\033c",
                      "\x07\x08", string(1, '\0')},
                     "0123456789ABCDEF ");
}

// Keys as a terminal sends them, cut escape sequences among them; never Q or X, which would
// end the run before the keys are spent.
string RandomKeys(int count) {
  string keys = RandomBytes(
      count, {"\x1b[A", "\x1b[6~", "\x1b[H", "\x1b[3~", "\x1bOP", "\x1b[1;5", "\x1bO", "\x1b"},
      "0123456789ABCDEFabcgGhHsSnN\t\r\x7f ");
  std::replace_if(
      keys.begin(), keys.end(), [](char c) { return c == 'q' || c == 'Q' || c == 'x' || c == 'X'; },
      'n');
  return keys;
}

// Loads the listing, types firstKeys and random keys, then leaves from any state: Home ends
// a pause, Q quits, N answers "Salir SIN guardar", the rest finishes a prompt.
void RunHostile(const string& name, const string& listing, const string& firstKeys,
                const string& shown) {
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / name, listing);
  Terminal term({.arguments = {name}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitUntil([](const Terminal& t) {
    return t.RawOutput().find("Procesando") != string::npos;
  })) << term.StartError();
  string keys = firstKeys + RandomKeys(300);
  for (int i = 0; i < 6; ++i) keys += "\x1b[HQN" + string(10, '\x7f') + "1\r";
  // In small pieces, the output read between them, so neither side's buffer fills up; the
  // pause also lets a cut escape sequence time out.
  for (size_t start = 0; start < keys.size() && !term.Exited(); start += 128) {
    term.SendKeys(std::string_view(keys).substr(start, 128));
    term.WaitUntil([](const Terminal&) { return false; }, std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0) << term.ScreenDump();
  EXPECT_EQ(term.Title(), "");
  EXPECT_EQ(term.ScreenDump(), string(25, '\n'));
  EXPECT_TRUE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
  EXPECT_NE(term.RawOutput().find(shown), string::npos) << shown;
  // Once the program's own sequences (cursor moves, clears, colours, the cursor shown or
  // hidden) are taken out, no control byte but line feed, return and back space is left.
  const string rest = std::regex_replace(
      term.RawOutput(), std::regex("\x1b\\[(\\d+;\\d+H|H|2J|K|0;(1;)?3[0-7];40m|\\?25[hl]|0m)"),
      "");
  std::smatch foreign;
  EXPECT_FALSE(std::regex_search(rest, foreign,
                                 std::regex("[\\x00-\\x07\\x09\\x0b\\x0c\\x0e-\\x1f].{0,15}")))
      << ::testing::PrintToString(foreign.str());
}

// Each loader question answered: a number no line exceeds, then N to the gap it opens.
string Answers(long count) {
  string keys;
  while (count-- > 0) keys += "\177\177\177\1779999\rN";
  return keys;
}

TEST(Hostile, BinaryListingsAndNamesReachTheTerminalOnlyAsText) {
  for (int run = 1; run <= 3; ++run) {
    string listing;
    for (int line = 0; line < 200; ++line)
      listing += (random() % 3 ? "" : std::to_string(line) + " ") +
                 HostileText(random() % 20 ? random() % 60 : 15000) + (random() % 2 ? "\n" : "\r");
    const long lines = std::count_if(listing.begin(), listing.end(),
                                     [](char c) { return c == '\n' || c == '\r'; });
    RunHostile("juego.txt", listing, RandomKeys(40) + Answers(lines + 1), "Procesando");
  }
  string listing;
  for (int line = 1; line <= 100000; ++line) {
    string data = HostileText(15);
    std::erase_if(data, [](char c) { return c == '\n' || c == '\r'; });
    listing += std::to_string(line) + " " + data + " 1\n";
  }
  RunHostile("juego.txt", listing, RandomKeys(40) + Answers(1), "Procesando");  // table full
  // The compile summary shows the name.
  RunHostile("\x1b]2;HOSTIL\x07\x1b[31m\2332J.txt", "1 06000E0076790F0F0FE6 534\n", "\rP\r0\r10\r ",
             "Archivo: ?]2;HOSTIL??[31m");
}

}  // namespace
