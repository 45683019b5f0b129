#pragma once
// What the recogniser read on a page, before anything is made of it: lines of words of
// symbols, each symbol with the characters it may be, the likeliest first.

#include <string>
#include <vector>

struct ReadChoice {
  std::string text;  // UTF-8, as the recogniser names it: "0", "O", "¢"
  float cost = 0;    // how much less likely than the best choice (0 for the best)
};

struct ReadSymbol {
  std::vector<ReadChoice> choices;  // never empty
  float confidence = 0;             // the recogniser's own, 0 to 100, for the best choice
};

struct ReadWord {
  std::vector<ReadSymbol> symbols;
};

struct ReadLine {
  std::vector<ReadWord> words;
  int top = 0, bottom = 0;  // pixels, in the page as read
};

struct PageReading {
  std::vector<ReadLine> lines;  // top to bottom
};
