// Hostile listings and file names in a real terminal: binary bytes, NULs, terminal commands
// (title, screen switch, status requests, 8-bit CSI), very long lines, 100 000 lines, loaded
// and then driven by random keys. Nothing may crash or hang, and no byte of the file or its
// name may reach the terminal as a command: every escape sequence the terminal receives is
// one of the program's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "e2e/terminal.h"

namespace {

constexpr unsigned Seed = 20261207;

// Commands a terminal would obey; none of them is a sequence the program itself sends.
const std::vector<std::string> TerminalCommands = {
    "\x1b]2;HOSTIL\x07",
    "\x1b]0;HOSTIL\x1b\\",
    "\x1b[31m",
    "\x1b[?1049h",
    "\x1b[6n",
    "\x1b[3;5r",
    "\033c",
    "\x1bP1$r\x1b\\",
    "\2332J",
    "\x1b[8;1;1t",
    "\x1b[",
    "\x1b",
    "\x07",
    "\x08\x08",
    std::string(1, '\0'),
};

// The program's own sequences: cursor moves, clears, colours, the cursor shown or hidden.
const std::regex OwnSequence("\x1b\\[(\\d+;\\d+H|H|2J|K|0;(1;)?3[0-7];40m|\\?25[hl]|0m)");

std::string HostileText(std::mt19937& random, size_t length) {
  std::string text;
  while (text.size() < length) {
    const unsigned choice = random() % 8;
    if (choice == 0)
      text += TerminalCommands[random() % TerminalCommands.size()];
    else if (choice == 1)
      text.push_back(static_cast<char>(128 + random() % 128));
    else if (choice == 2)
      text.push_back(static_cast<char>(random() % 256));
    else
      text.push_back("0123456789ABCDEF  "[random() % 18]);
  }
  return text;
}

// Keys as a terminal sends them, escape sequences cut short among them; never Q or X, which
// would end the run before the keys are spent.
std::string RandomKeys(std::mt19937& random, int count) {
  const std::string_view sequences[] = {
      KeyBytes::Up,     KeyBytes::Down, KeyBytes::Left,   KeyBytes::Right,
      KeyBytes::Home,   KeyBytes::End,  KeyBytes::PageUp, KeyBytes::PageDown,
      KeyBytes::Delete, KeyBytes::F1,   "\x1b[1;5",       "\x1bO",
      "\x1b[",          "\x1b"};
  std::string keys;
  for (int i = 0; i < count; ++i) {
    const unsigned choice = random() % 4;
    if (choice == 0) {
      keys += sequences[random() % std::size(sequences)];
    } else if (choice == 1) {
      keys.push_back(static_cast<char>(random() % 256));
    } else {
      constexpr std::string_view Typed = "0123456789ABCDEFabcdefgGhHsSnN\t\r\x7f ";
      keys.push_back(Typed[random() % Typed.size()]);
    }
    if (std::string_view("qQxX").find(keys.back()) != std::string_view::npos) keys.back() = 'n';
  }
  return keys;
}

// Clears a half-typed number, gives one no line exceeds, says no to the gap it opens.
const std::string LoaderAnswers = std::string(4, '\x7f') + "9999\rN";
// From any state of the editor: Home ends any pause, Q quits, N answers "Salir SIN guardar",
// and the rest finishes any prompt.
const std::string QuitKeys = std::string(KeyBytes::Home) + "QN" + std::string(10, '\x7f') + "1\r";

// Keys in small pieces, the output read between them, so neither side's buffer fills up
// while the other waits; the pause also lets a cut escape sequence time out.
void Type(Terminal& term, const std::string& keys) {
  for (size_t start = 0; start < keys.size() && !term.Exited(); start += 128) {
    term.SendKeys(std::string_view(keys).substr(start, 128));
    term.WaitUntil([](const Terminal&) { return false; }, std::chrono::milliseconds(20));
  }
}

// Every escape byte the terminal received starts one of the program's own sequences, and no
// other control byte than line feed, return and back space came.
void ExpectOnlyOwnCommands(const Terminal& term) {
  const std::string& output = term.RawOutput();
  for (size_t i = 0; i < output.size(); ++i) {
    const auto c = static_cast<unsigned char>(output[i]);
    if (c == 0x1b) {
      std::smatch match;
      const std::string rest = output.substr(i, 16);
      ASSERT_TRUE(
          std::regex_search(rest, match, OwnSequence, std::regex_constants::match_continuous))
          << "foreign sequence at byte " << i << ": " << ::testing::PrintToString(rest);
    } else if (c < 32 && c != '\n' && c != '\r' && c != '\b') {
      FAIL() << "control byte " << int{c} << " at byte " << i;
    }
  }
}

// dialogues: how many the loader may open, the pause at its end included.
void RunHostile(const std::string& listing, long dialogues, std::mt19937& random) {
  const std::string fileName = "juego.txt";
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / fileName, listing);
  Terminal term({.arguments = {fileName}, .directory = dir.Path()});
  ASSERT_TRUE(term.Started()) << term.StartError();
  ASSERT_TRUE(term.WaitForText(1, 4, "Procesando fichero de entrada...")) << term.ScreenDump();
  std::string keys = RandomKeys(random, 40);
  for (long i = 0; i < dialogues; ++i) keys += LoaderAnswers;
  keys += RandomKeys(random, 300);
  for (int i = 0; i < 6; ++i) keys += QuitKeys;
  Type(term, keys);
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0) << term.ScreenDump();
  EXPECT_EQ(term.Title(), "");
  EXPECT_EQ(term.ScreenDump(), std::string(25, '\n'));
  EXPECT_TRUE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
  ExpectOnlyOwnCommands(term);
}

TEST(Hostile, BinaryListingsAndNamesReachTheTerminalOnlyAsText) {
  std::cout << "random seed " << Seed << std::endl;
  std::mt19937 random(Seed);
  for (int run = 1; run <= 4; ++run) {
    SCOPED_TRACE("random lines, some very long, run " + std::to_string(run));
    std::string listing;
    for (int line = 0; line < 200; ++line) {
      if (random() % 3 == 0) listing += std::to_string(line) + " ";
      listing += HostileText(random, random() % 20 == 0 ? 20000 : random() % 80);
      const char* const ends[] = {"\n", "\r", "\r\n"};
      listing += ends[random() % 3];
    }
    // One dialogue at most per line.
    RunHostile(listing,
               std::count(listing.begin(), listing.end(), '\n') +
                   std::count(listing.begin(), listing.end(), '\r') + 1,
               random);
  }
  {
    SCOPED_TRACE("100 000 numbered lines of hostile data");
    std::string listing;
    for (int line = 1; line <= 100000; ++line) {
      std::string data = HostileText(random, 20);
      std::replace_if(
          data.begin(), data.end(), [](char c) { return c == '\n' || c == '\r'; }, '?');
      listing += std::to_string(line) + " " + data + " 1\n";
    }
    RunHostile(listing, 1, random);  // the table fills: only the pause at the end
  }
  {
    SCOPED_TRACE("hostile file name, shown by the compile summary");
    const std::string name = "\x1b]2;HOSTIL\x07\x1b[31m\2332J.txt";
    ScratchDirectory dir;
    WriteFileBytes(dir.Path() / name, "1 06000E0076790F0F0FE6 534\n");
    Terminal term({.arguments = {name}, .directory = dir.Path()});
    ASSERT_TRUE(term.WaitForText(1, 5, "---[ Editor ]")) << term.ScreenDump();
    term.SendKeys("\rP\r0\r10\r");
    ASSERT_TRUE(term.WaitForText(32, 18, "Pulsa una tecla.")) << term.ScreenDump();
    EXPECT_NE(term.Row(16).find("Archivo: ?]2;HOSTIL??[31m"), std::string::npos) << term.Row(16);
    term.SendKeys(" q");
    ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
    EXPECT_EQ(term.ExitCode(), 0);
    EXPECT_EQ(term.Title(), "");
    ExpectOnlyOwnCommands(term);
  }
}

}  // namespace
