// Hostile listings and file names in a real terminal: binary bytes, NULs, terminal commands,
// very long lines, 100 000 lines, then random keys. Nothing may crash or hang, and every
// escape sequence the terminal receives is one of the program's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>
#include <string>

#include "e2e/terminal.h"

namespace {

std::mt19937 random(20261207);

// Title, colour, screen switch, status request, 8-bit CSI, reset, bell, back space, NUL.
const std::string Commands[] = {
    "\x1b]2;HOSTIL\x07", "\x1b[31m",          "\x1b[?1049h", "\x1b[6n", "\2332J", "\033c",
    "\x07\x08",          std::string(1, '\0')};
// The program's own: cursor moves, clears, colours, the cursor shown or hidden.
const std::regex OwnSequence("\x1b\\[(\\d+;\\d+H|H|2J|K|0;(1;)?3[0-7];40m|\\?25[hl]|0m)");

std::string Pick(std::string_view choices) {
  return std::string(1, choices[random() % choices.size()]);
}

std::string HostileText(size_t length) {
  std::string text;
  while (text.size() < length) {
    const unsigned choice = random() % 6;
    text += choice == 0   ? Commands[random() % std::size(Commands)]
            : choice == 1 ? std::string(1, static_cast<char>(random()))
                          : Pick("0123456789ABCDEF ");
  }
  return text;
}

// Keys as a terminal sends them, cut escape sequences among them; never Q or X, which would
// end the run before the keys are spent.
std::string RandomKeys(int count) {
  const std::string_view sequences[] = {
      KeyBytes::Up, KeyBytes::PageDown, KeyBytes::Home, KeyBytes::Delete,
      KeyBytes::F1, "\x1b[1;5",         "\x1bO",        "\x1b"};
  std::string keys;
  for (int i = 0; i < count; ++i) {
    const unsigned choice = random() % 4;
    keys += choice == 0   ? std::string(sequences[random() % std::size(sequences)])
            : choice == 1 ? std::string(1, static_cast<char>(random()))
                          : Pick("0123456789ABCDEFabcgGhHsSnN\t\r\x7f ");
    if (std::string_view("qQxX").find(keys.back()) != std::string_view::npos) keys.back() = 'n';
  }
  return keys;
}

void ExpectOnlyOwnCommands(const Terminal& term) {
  const std::string& output = term.RawOutput();
  for (size_t i = 0; i < output.size(); ++i) {
    const auto c = static_cast<unsigned char>(output[i]);
    const std::string rest = output.substr(i, 16);
    if (c == 0x1b)
      ASSERT_TRUE(std::regex_search(rest, OwnSequence, std::regex_constants::match_continuous))
          << "foreign sequence at byte " << i << ": " << ::testing::PrintToString(rest);
    else
      ASSERT_TRUE(c >= 32 || c == '\n' || c == '\r' || c == '\b') << "control byte at " << i;
  }
}

// Loads the listing, types firstKeys and random keys, then leaves from any state: Home ends
// a pause, Q quits, N answers "Salir SIN guardar", the rest finishes a prompt.
void RunHostile(const std::string& name, const std::string& listing, const std::string& firstKeys,
                const std::string& shown) {
  ScratchDirectory dir;
  WriteFileBytes(dir.Path() / name, listing);
  Terminal term({.arguments = {name}, .directory = dir.Path()});
  ASSERT_TRUE(term.WaitUntil([](const Terminal& t) {
    return t.RawOutput().find("Procesando") != std::string::npos;
  })) << term.StartError()
      << term.ScreenDump();
  std::string keys = firstKeys + RandomKeys(300);
  for (int i = 0; i < 6; ++i)
    keys += std::string(KeyBytes::Home) + "QN" + std::string(10, '\x7f') + "1\r";
  // In small pieces, the output read between them, so neither side's buffer fills up; the
  // pause also lets a cut escape sequence time out.
  for (size_t start = 0; start < keys.size() && !term.Exited(); start += 128) {
    term.SendKeys(std::string_view(keys).substr(start, 128));
    term.WaitUntil([](const Terminal&) { return false; }, std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(term.WaitForExit()) << term.ScreenDump();
  EXPECT_EQ(term.ExitCode(), 0) << term.ScreenDump();
  EXPECT_EQ(term.Title(), "");
  EXPECT_EQ(term.ScreenDump(), std::string(25, '\n'));
  EXPECT_TRUE(SameSettings(term.CurrentSettings(), term.InitialSettings()));
  EXPECT_NE(term.RawOutput().find(shown), std::string::npos) << shown;
  ExpectOnlyOwnCommands(term);
}

// A loader question answered: a number no line exceeds, then N to the gap it opens.
std::string Answers(long count) {
  std::string keys;
  for (long i = 0; i < count; ++i)
    keys +=
        "\x7f\x7f\x7f\x7f"
        "9999\rN";
  return keys;
}

TEST(Hostile, BinaryListingsReachTheTerminalOnlyAsText) {
  for (int run = 1; run <= 3; ++run) {
    SCOPED_TRACE("random lines, some very long, run " + std::to_string(run));
    std::string listing;
    for (int line = 0; line < 200; ++line)
      listing += (random() % 3 ? "" : std::to_string(line) + " ") +
                 HostileText(random() % 20 ? random() % 80 : 20000) + Pick("\n\r");
    const auto lines = std::count(listing.begin(), listing.end(), '\n') +
                       std::count(listing.begin(), listing.end(), '\r') + 1;
    RunHostile("juego.txt", listing, RandomKeys(40) + Answers(lines), "Procesando");
  }
  std::string listing;
  for (int line = 1; line <= 100000; ++line) {
    std::string data = HostileText(20);
    for (char& c : data) c = c == '\n' || c == '\r' ? '?' : c;
    listing += std::to_string(line) + " " + data + " 1\n";
  }
  RunHostile("juego.txt", listing, RandomKeys(40) + Answers(1), "Procesando");  // table full
  SCOPED_TRACE("a hostile name, shown by the compile summary");
  RunHostile("\x1b]2;HOSTIL\x07\x1b[31m\2332J.txt", "1 06000E0076790F0F0FE6 534\n", "\rP\r0\r10\r ",
             "Archivo: ?]2;HOSTIL??[31m");
}

}  // namespace
