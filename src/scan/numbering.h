#pragma once
// Line numbers from the numbers read and the lines' places on the pages. Each line takes the
// numbering its neighbours agree on (a local vote: a misread 1O between 9 and 11 is 10, and a
// numbering that jumps stays jumped after a few lines); a line the recogniser dropped leaves
// an empty place, so its number is missing from the listing.

#include <optional>
#include <vector>

struct NumberClue {
  std::optional<int> read;  // the number as read, when it reads as one
  int place;                // the line's place, counting empty places between lines
};

// The places of a page's lines from their tops, from first: a step of about two line pitches
// is a line the recogniser did not see.
std::vector<int> LinePlaces(const std::vector<int>& tops, int first);

// One number for each clue, rising.
std::vector<int> NumberLines(const std::vector<NumberClue>& clues);
