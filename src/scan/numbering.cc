#include "scan/numbering.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace {

// What a line's number costs: against the number read, and where the offset changes. A change
// costs more than two misreads, so it takes three lines that agree.
constexpr double MisreadCost = 1;
constexpr double UnreadCost = 0.3;
constexpr double ChangeCost = 2.5;
// A run of lines numbered alike is sure of its numbers when at least this many read as them.
constexpr int LeastRunSupport = 3;

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

// The cheapest offset for every line, walking the lines with each offset any of them reads
// as the state. A listing is taken to start at 1 unless its lines say otherwise.
std::vector<int> NumberLines(const std::vector<NumberClue>& clues) {
  if (clues.empty()) return {};
  std::vector<int> offsets{1 - clues.front().place};
  for (const NumberClue& clue : clues)
    if (clue.read) offsets.push_back(*clue.read - clue.place);
  std::sort(offsets.begin(), offsets.end());
  offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());

  const size_t states = offsets.size();
  constexpr double Never = std::numeric_limits<double>::infinity();
  std::vector<double> cost(states);
  std::vector<std::vector<size_t>> from(clues.size(), std::vector<size_t>(states, 0));
  auto reading = [&](size_t line, size_t state) {
    const int number = clues[line].place + offsets[state];
    if (number < 1) return Never;
    if (!clues[line].read) return UnreadCost;
    return *clues[line].read == number ? 0 : MisreadCost;
  };
  for (size_t s = 0; s < states; ++s)
    cost[s] = reading(0, s) + (offsets[s] == 1 - clues.front().place ? 0 : MisreadCost);
  for (size_t line = 1; line < clues.size(); ++line) {
    // A listing's numbers only go up: the offset may change to one that keeps this line's
    // number above the last one's (a page of 5s read as 3s does not number back to 30).
    const int step = clues[line].place - clues[line - 1].place;
    std::vector<double> next(states);
    for (size_t s = 0; s < states; ++s) {
      size_t best = s;
      double bestCost = cost[s];
      for (size_t c = 0; c < states; ++c)
        if (c != s && offsets[c] < offsets[s] + step && cost[c] + ChangeCost < bestCost) {
          best = c;
          bestCost = cost[c] + ChangeCost;
        }
      from[line][s] = best;
      next[s] = bestCost + reading(line, s);
    }
    cost = std::move(next);
  }
  size_t state = static_cast<size_t>(std::min_element(cost.begin(), cost.end()) - cost.begin());
  std::vector<int> numbers(clues.size());
  for (size_t line = clues.size(); line-- > 0;) {
    numbers[line] = clues[line].place + offsets[state];
    state = from[line][state];
  }
  return numbers;
}

std::vector<bool> NumbersSure(const std::vector<NumberClue>& clues,
                              const std::vector<int>& numbers) {
  auto confirmed = [&](size_t k) { return clues[k].read == numbers[k]; };
  std::map<int, int> support;  // lines reading as their numbers, by their run's offset
  for (size_t k = 0; k < numbers.size(); ++k)
    if (confirmed(k)) ++support[numbers[k] - clues[k].place];
  std::vector<bool> sure;
  for (size_t k = 0; k < numbers.size(); ++k) {
    const bool between = k > 0 && k + 1 < numbers.size() && confirmed(k - 1) && confirmed(k + 1) &&
                         numbers[k - 1] + 1 == numbers[k] && numbers[k + 1] - 1 == numbers[k];
    sure.push_back((confirmed(k) || between) &&
                   support[numbers[k] - clues[k].place] >= LeastRunSupport);
  }
  return sure;
}
