#include "scan/numbering.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr int VoteReach = 3;     // lines each side that vote on a line's number
constexpr double OwnVote = 1.5;  // a line's own reading outweighs one neighbour

}  // namespace

std::vector<int> LinePlaces(const std::vector<int>& tops, int first) {
  std::vector<int> steps;
  for (size_t k = 1; k < tops.size(); ++k) steps.push_back(tops[k] - tops[k - 1]);
  std::vector<int> sorted = steps;
  std::sort(sorted.begin(), sorted.end());
  const double pitch = sorted.empty() ? 1 : std::max(1, sorted[sorted.size() / 2]);
  std::vector<int> places;
  int place = first;
  for (size_t k = 0; k < tops.size(); ++k) {
    if (k > 0) place += std::max(1, static_cast<int>(std::lround(steps[k - 1] / pitch)));
    places.push_back(place);
  }
  return places;
}

std::vector<int> NumberLines(const std::vector<NumberClue>& clues) {
  const int count = static_cast<int>(clues.size());
  std::vector<int> numbers;
  for (int k = 0; k < count; ++k) {
    std::map<int, double> votes;  // offset from the place to the number, and its weight
    for (int j = std::max(0, k - VoteReach); j <= std::min(count - 1, k + VoteReach); ++j)
      if (clues[j].read) votes[*clues[j].read - clues[j].place] += j == k ? OwnVote : 1;
    int number;
    if (votes.empty()) {
      number = numbers.empty() ? 1 : numbers.back() + clues[k].place - clues[k - 1].place;
    } else {
      const auto winner =
          std::max_element(votes.begin(), votes.end(),
                           [](const auto& a, const auto& b) { return a.second < b.second; });
      number = clues[k].place + winner->first;
    }
    if (!numbers.empty()) number = std::max(number, numbers.back() + 1);
    numbers.push_back(std::max(number, 1));
  }
  return numbers;
}
