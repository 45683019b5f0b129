#pragma once
// What the recogniser read on a page, before anything is made of it: lines of words of
// symbols, each symbol with the characters it may be, the likeliest first.

#include <cstdint>
#include <string>
#include <vector>

struct ReadChoice {
  std::string text;  // UTF-8, as the recogniser names it: "0", "O", "¢"
  float cost = 0;    // how much less likely than the best choice (0 for the best)
};

struct ReadSymbol {
  std::vector<ReadChoice> choices;  // never empty
  float confidence = 0;             // the recogniser's own, 0 to 100, for the best choice
  int left = 0, right = 0;          // pixels across the page as read
};

struct ReadWord {
  std::vector<ReadSymbol> symbols;
};

// Grey levels row by row, ink dark and paper near 255.
struct GreyImage {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  uint8_t At(int x, int y) const {
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
};

struct ReadLine {
  std::vector<ReadWord> words;
  int top = 0, bottom = 0;  // pixels, in the page as read
  // The line's strip of the page, evenly lit, where the reading was of that strip alone; its
  // left edge in the page.
  GreyImage strip;
  int stripLeft = 0;
};

struct PageReading {
  std::vector<ReadLine> lines;  // top to bottom
};
