#include "scan/scan.h"

#include <map>

#include "scan/line_evidence.h"
#include "scan/numbering.h"
#include "scan/page_reader.h"

namespace {

// A run of lines numbered alike keeps its checksums when at least this many read as their
// numbers.
constexpr int LeastRunSupport = 3;

// The number most of the passes read; where they split evenly, the page's glyphs' (a grainy
// pass reads 70 as 19 now and then), else the earliest pass's.
std::optional<int> MostReadNumber(const LineEvidence& line) {
  std::optional<int> most;
  float mostVotes = 0;
  for (const PassReading& reading : line.readings) {
    if (!reading.number) continue;
    float votes = 0;
    for (const PassReading& other : line.readings)
      if (other.number == reading.number) votes += other.byGlyphs ? 1.5f : 1;
    if (votes > mostVotes) {
      most = reading.number;
      mostVotes = votes;
    }
  }
  return most;
}

}  // namespace

bool ScanBuilt() { return PageReader::InThisBuild(); }

ScanOutcome ScanPages(const std::vector<std::string>& images, const PageDone& pageDone) {
  ScanOutcome outcome;
  if (!PageReader::InThisBuild()) return {ScanStatus::Unavailable, {}, {}};
  for (const std::string& image : images)
    if (!PageReader::CanOpen(image)) return {ScanStatus::Unreadable, {}, image};
  PageReader reader;
  if (!reader.Ready()) return {ScanStatus::NoModel, {}, {}};

  std::vector<NumberClue> clues;
  int nextPlace = 1;
  for (size_t page = 0; page < images.size(); ++page) {
    const auto passes = reader.Read(images[page]);
    if (!passes) return {ScanStatus::Unreadable, {}, images[page]};
    const std::vector<LineEvidence> lines = PageEvidence(*passes);
    std::vector<int> tops;
    for (const LineEvidence& line : lines) tops.push_back(line.readings.front().top);
    const std::vector<int> places = LinePlaces(tops, nextPlace);
    for (size_t k = 0; k < lines.size(); ++k) {
      clues.push_back({MostReadNumber(lines[k]), places[k]});
      const WrittenFields written = WrittenLine(lines[k]);
      outcome.lines.push_back({0, written.data, written.checksum});
    }
    if (!places.empty()) nextPlace = places.back() + 1;
    if (pageDone) pageDone(static_cast<int>(page) + 1, static_cast<int>(lines.size()));
  }
  const std::vector<int> numbers = NumberLines(clues);
  auto confirmed = [&](size_t k) { return clues[k].read == numbers[k]; };
  // How many lines read as the numbers their run of lines gives them: two lines misread alike
  // (74 and 76 as 14 and 16) are not a run.
  std::map<int, int> support;
  for (size_t k = 0; k < numbers.size(); ++k)
    if (confirmed(k)) ++support[numbers[k] - clues[k].place];
  for (size_t k = 0; k < numbers.size(); ++k) {
    outcome.lines[k].number = numbers[k];
    // A number the line's own reading does not give is sure only between two lines that read
    // as the numbers before and after it (a misread 1O between 9 and 11): the checksum of a
    // line put at the wrong number would add up with bytes that line does not hold.
    const bool between = k > 0 && k + 1 < numbers.size() && confirmed(k - 1) && confirmed(k + 1) &&
                         numbers[k - 1] + 1 == numbers[k] && numbers[k + 1] - 1 == numbers[k];
    const bool supported = support[numbers[k] - clues[k].place] >= LeastRunSupport;
    if ((!confirmed(k) && !between) || !supported) outcome.lines[k].checksum.clear();
  }
  return outcome;
}
