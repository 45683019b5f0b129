#include "scan/scan.h"

#include "scan/line_evidence.h"
#include "scan/numbering.h"
#include "scan/page_reader.h"

namespace {

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
  std::vector<std::optional<int>> readNumbers;
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
      readNumbers.push_back(written.number);
    }
    if (!places.empty()) nextPlace = places.back() + 1;
    if (pageDone) pageDone(static_cast<int>(page) + 1, static_cast<int>(lines.size()));
  }
  const std::vector<int> numbers = NumberLines(clues);
  const std::vector<bool> sure = NumbersSure(clues, numbers);
  for (size_t k = 0; k < numbers.size(); ++k) {
    outcome.lines[k].number = numbers[k];
    // The checksum of a line put at the wrong number would add up with bytes that line does
    // not hold; so would one whose reading numbered it otherwise.
    if (!sure[k] || (readNumbers[k] && readNumbers[k] != numbers[k]))
      outcome.lines[k].checksum.clear();
  }
  return outcome;
}
