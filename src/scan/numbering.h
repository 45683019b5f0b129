#pragma once
// Line numbers from the numbers read and the lines' places on the pages. Numbers run on from
// place to place, so each line's number is its place plus an offset that holds along the
// listing; the offset changes only where several lines read together say so (a local vote: a
// misread 1O between 9 and 11 is 10, a listing that skips on stays skipped), and never so that
// the numbers go back. A line the recogniser dropped leaves an empty place, so its number is
// missing from the listing.

#include <optional>
#include <vector>

struct NumberClue {
  std::optional<int> read;  // the number as read, when it reads as one
  int place;                // the line's place, counting empty places between lines
};

// The places of a page's lines from their tops, from first: a step of about two line pitches
// is a line the recogniser did not see.
std::vector<int> LinePlaces(const std::vector<int>& tops, int first);

// One number for each clue.
std::vector<int> NumberLines(const std::vector<NumberClue>& clues);

// Which numbers are sure: a line's own reading gives it, or it lies between two lines that read
// as the numbers before and after it (a misread 1O between 9 and 11); and at least three lines
// of its run read as their numbers (two lines misread alike, 74 and 76 as 14 and 16, are no
// run).
std::vector<bool> NumbersSure(const std::vector<NumberClue>& clues,
                              const std::vector<int>& numbers);
