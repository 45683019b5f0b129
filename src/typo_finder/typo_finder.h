#pragma once
// The typo finder: when a line's 20 digits do not add up to its checksum, which single change
// would make them? Misread digits are mostly a few look-alike pairs (8 for B, D for 0), and
// letters typed for the digits they look like (O for 0, l for 1), so those come first.

#include <string>
#include <string_view>
#include <vector>

// In the order suggestions are given: the likeliest first.
enum class TypoKind { LookAlike, Swap, Checksum, Digit };

struct TypoSuggestion {
  TypoKind kind;
  int position;       // data: the (first) digit's place, from 1; 0 for the checksum
  std::string shown;  // the digit(s) shown, upper case, or the checksum as typed
  std::string fix;    // what would make the sum right
};

enum class LineVerdict { Correct, Unreadable, Faulty };

struct TypoFinding {
  LineVerdict verdict;
  std::vector<TypoSuggestion> suggestions;  // every single change that fits, in order
};

// data and checksum as the line holds them.
TypoFinding FindTypos(std::string_view data, std::string_view checksum);

// "Pista: ..." as the editor shows it: at most three suggestions, at most 78 characters.
std::string HintText(const TypoFinding& finding);
