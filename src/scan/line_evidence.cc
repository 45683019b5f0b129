#include "scan/line_evidence.h"

#include <algorithm>
#include <cstdlib>

#include "scan/glyph_cells.h"
#include "scan/line_fields.h"
#include "scan/look_alikes.h"

namespace {

// A sure reading is cheap, clearly cheaper than the next one that adds up, and read with
// confidence; thresholds set on pages apart from those the figures are measured on.
constexpr float MaxSureCost = 20;
constexpr float LeastMargin = 15;
constexpr float LeastConfidence = 60;
// Another pass's reading as cheap as this vetoes a sure one.
constexpr float MaxDissentCost = 10;
// ...unless its own runner-up is this close.
constexpr float LeastDissentMargin = 10;
// A line the first pass doubted is taken from the second only with a wider margin.
constexpr float SecondPassMargin = 10;
// A reading of the page's glyphs that adds up as read, this far ahead of the next, needs no
// other pass to agree; one mended to add up may have mended two misread glyphs into a third.
constexpr float MaxClearGlyphCost = 0;
constexpr float LeastClearGlyphMargin = 40;
// The passes alone are sure against the glyphs' reading only this far ahead of their next one.
constexpr float LeastMarginAgainstGlyphs = 30;
// A reading that names the glyphs the page's own are learnt from: this cheap, this far ahead.
constexpr float MaxTeacherCost = 40;
constexpr float LeastTeacherMargin = 20;
// A dearer repair still gives the editor better data than the reading it started from.
constexpr float MaxRepairCost = 90;

std::string ReadDigits(const std::vector<ReadSymbol>& symbols, DigitKind kind) {
  std::string digits;
  for (const ReadSymbol& symbol : symbols) digits += ReadDigit(symbol, kind);
  return digits;
}

std::vector<DigitOptions> Options(const std::vector<ReadSymbol>& symbols, DigitKind kind) {
  std::vector<DigitOptions> options;
  for (const ReadSymbol& symbol : symbols) options.push_back(OptionsOf(symbol, kind));
  return options;
}

std::optional<int> NumberOf(const std::string& digits) {
  if (digits.empty() || digits.size() > 5 || digits.find('?') != std::string::npos)
    return std::nullopt;
  return std::stoi(digits);
}

PassReading ReadingOf(const ReadLine& read, const LineSymbols& fields) {
  PassReading line;
  line.number = NumberOf(ReadDigits(fields.number, DigitKind::Decimal));
  line.top = read.top;
  line.bottom = read.bottom;
  line.data = ReadDigits(fields.data, DigitKind::Hex);
  line.checksum = ReadDigits(fields.checksum, DigitKind::Decimal);
  line.repair = RepairLine(Options(fields.data, DigitKind::Hex),
                           Options(fields.checksum, DigitKind::Decimal));
  line.leastConfidence = 100;
  for (const auto* part : {&fields.data, &fields.checksum})
    for (const ReadSymbol& symbol : *part)
      line.leastConfidence = std::min(line.leastConfidence, symbol.confidence);
  return line;
}

PassReading ReadingOfOptions(const ReadLine& read, const std::string& number,
                             const std::vector<DigitOptions>& data,
                             const std::vector<DigitOptions>& checksum) {
  static constexpr std::string_view Hex = "0123456789ABCDEF";
  PassReading line;
  line.number = NumberOf(number);
  line.top = read.top;
  line.bottom = read.bottom;
  for (const DigitOptions& options : data)
    line.data += Hex[static_cast<size_t>(options.front().value)];
  for (const DigitOptions& options : checksum)
    line.checksum += Hex[static_cast<size_t>(options.front().value)];
  line.repair = RepairLine(data, checksum);
  line.leastConfidence = 100;
  return line;
}

struct StripLine {
  const ReadLine* read;
  LineSymbols fields;
  int pass, top;
  std::optional<LineCells> cells;
  std::optional<Reading> teacher;  // what the line holds, as far as the passes can tell
};

// A reading trusted to name the glyphs of its line's cells: cheap and well ahead of the next.
std::optional<Reading> TeacherOf(const std::vector<PassReading>& readings) {
  std::optional<Reading> teacher;
  for (const PassReading& reading : readings) {
    const Repair& repair = reading.repair;
    if (reading.byGlyphs || !repair.best || repair.best->cost > MaxTeacherCost) continue;
    if (repair.runnerUp && repair.runnerUp->cost - repair.best->cost < LeastTeacherMargin) continue;
    if (!teacher || repair.best->cost < teacher->cost) teacher = repair.best;
  }
  return teacher;
}

void Learn(GlyphModel& model, const StripLine& strip) {
  const LineCells& cells = *strip.cells;
  const Reading& teacher = *strip.teacher;
  for (size_t k = 0; k < cells.data.size(); ++k) {
    const char digit = teacher.data[k];
    LearnGlyph(model, digit <= '9' ? digit - '0' : digit - 'A' + 10,
               ShapesOf(*strip.read, cells, cells.data[k])[0]);
  }
  const std::string sum = std::to_string(teacher.checksum);
  if (cells.checksum.size() == sum.size())
    for (size_t k = 0; k < sum.size(); ++k)
      LearnGlyph(model, sum[k] - '0', ShapesOf(*strip.read, cells, cells.checksum[k])[0]);
}

PassReading GlyphReading(const GlyphModel& model, const StripLine& strip, int pass) {
  auto options = [&](const std::vector<float>& centres, DigitKind kind) {
    std::vector<DigitOptions> all;
    for (float centre : centres)
      all.push_back(GlyphOptions(model, ShapesOf(*strip.read, *strip.cells, centre), kind));
    return all;
  };
  std::string number;
  for (const DigitOptions& digit : options(strip.cells->number, DigitKind::Decimal))
    number += static_cast<char>('0' + digit.front().value);
  PassReading reading =
      ReadingOfOptions(*strip.read, number, options(strip.cells->data, DigitKind::Hex),
                       options(strip.cells->checksum, DigitKind::Decimal));
  reading.pass = pass;
  reading.byGlyphs = true;
  return reading;
}

bool ClearGlyphReading(const PassReading& glyphs) {
  const Repair& repair = glyphs.repair;
  return repair.best && repair.best->cost <= MaxClearGlyphCost &&
         (!repair.runnerUp || repair.runnerUp->cost - repair.best->cost >= LeastClearGlyphMargin);
}

// The page's own glyphs, learnt from the lines the passes read surely, then also from those the
// glyphs themselves read clearly, read every strip's cells again.
std::vector<PassReading> GlyphReadings(std::vector<StripLine>& strips, int pass) {
  std::vector<LineSymbols> fields;
  for (const StripLine& strip : strips) fields.push_back(strip.fields);
  std::optional<float> pitch = CellPitch(fields);
  if (!pitch) return {};
  // The lines' own grids, settled on their ink, give the page's pitch better than the
  // recogniser's boxes.
  std::vector<float> pitches;
  for (const StripLine& strip : strips)
    if (const std::optional<LineCells> cells = CellsOf(*strip.read, strip.fields, *pitch))
      pitches.push_back(cells->pitch);
  if (!pitches.empty()) {
    std::nth_element(pitches.begin(),
                     pitches.begin() + static_cast<std::ptrdiff_t>(pitches.size() / 2),
                     pitches.end());
    pitch = pitches[pitches.size() / 2];
  }
  GlyphModel model;
  for (StripLine& strip : strips) {
    strip.cells = CellsOf(*strip.read, strip.fields, *pitch);
    if (strip.cells && strip.teacher) Learn(model, strip);
  }
  FinishModel(model);
  std::vector<PassReading> readings;
  for (const StripLine& strip : strips)
    if (strip.cells) readings.push_back(GlyphReading(model, strip, pass));
  // Learnt again with the lines the glyphs read clearly themselves.
  GlyphModel wider;
  size_t n = 0;
  for (StripLine& strip : strips) {
    if (!strip.cells) continue;
    if (!strip.teacher && ClearGlyphReading(readings[n])) strip.teacher = readings[n].repair.best;
    if (strip.teacher) Learn(wider, strip);
    ++n;
  }
  FinishModel(wider);
  readings.clear();
  for (const StripLine& strip : strips)
    if (strip.cells) readings.push_back(GlyphReading(wider, strip, pass));
  return readings;
}

// Two readings are of the same printed line when they share most of their height, the taller's
// too: a pass that ran two printed lines into one has read neither.
bool SameLine(const PassReading& a, const PassReading& b) {
  const int shared = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return shared * 2 > std::max(a.bottom - a.top, b.bottom - b.top);
}

// ...or when they repair to the same data close by, wherever each pass put the line's box.
bool SameData(const PassReading& a, const PassReading& b) {
  const int height = std::max(a.bottom - a.top, b.bottom - b.top);
  return a.repair.best && b.repair.best && a.repair.best->data == b.repair.best->data &&
         std::abs(a.top - b.top) < 2 * height;
}

bool IsSure(const PassReading& reading, float extraMargin) {
  const Repair& repair = reading.repair;
  if (!repair.best) return false;
  const float margin = repair.runnerUp ? repair.runnerUp->cost - repair.best->cost : 1e9f;
  return repair.best->cost <= MaxSureCost && margin >= LeastMargin + extraMargin &&
         reading.leastConfidence >= LeastConfidence;
}

}  // namespace

std::vector<LineEvidence> PageEvidence(const std::vector<PageReading>& passes) {
  std::vector<LineEvidence> lines;
  // Lines of one pass are different lines, even where their data are the same.
  auto place = [&](PassReading reading) {
    const auto same = std::find_if(lines.begin(), lines.end(), [&](const LineEvidence& line) {
      const PassReading& first = line.readings.front();
      return line.readings.back().pass != reading.pass &&
             (SameLine(first, reading) || SameData(first, reading));
    });
    if (same != lines.end()) {
      same->readings.push_back(std::move(reading));
      return;
    }
    const auto below = std::find_if(lines.begin(), lines.end(), [&](const LineEvidence& line) {
      return line.readings.front().top > reading.top;
    });
    lines.insert(below, LineEvidence{{std::move(reading)}});
  };
  // A line read much taller than most is two printed lines run into one: neither's reading.
  std::vector<int> heights;
  for (const PageReading& pass : passes)
    for (const ReadLine& read : pass.lines) heights.push_back(read.bottom - read.top);
  std::sort(heights.begin(), heights.end());
  const int most = heights.empty() ? 0 : heights[heights.size() / 2];
  std::vector<StripLine> strips;
  for (size_t pass = 0; pass < passes.size(); ++pass)
    for (const ReadLine& read : passes[pass].lines) {
      const std::optional<LineSymbols> fields = SplitReadLine(read);
      if (!fields || (read.bottom - read.top) * 2 > most * 3) continue;
      PassReading reading = ReadingOf(read, *fields);
      reading.pass = static_cast<int>(pass);
      if (!read.strip.pixels.empty())
        strips.push_back({&read, *fields, reading.pass, reading.top, std::nullopt, std::nullopt});
      place(std::move(reading));
    }
  for (StripLine& strip : strips)
    for (const LineEvidence& line : lines)
      for (const PassReading& reading : line.readings)
        if (reading.pass == strip.pass && reading.top == strip.top)
          strip.teacher = TeacherOf(line.readings);
  for (PassReading& reading : GlyphReadings(strips, static_cast<int>(passes.size())))
    place(std::move(reading));
  return lines;
}

namespace {

// The recogniser's passes alone: the first pass decides unless another reads the line otherwise
// as cheaply; a line it doubted or missed needs a clearer reading from the second pass.
const PassReading* SureReading(const std::vector<const PassReading*>& readings) {
  if (readings.empty()) return nullptr;
  const PassReading& first = *readings.front();
  if (IsSure(first, 0)) {
    for (const PassReading* other : readings)
      if (other->repair.best && other->repair.best->data != first.repair.best->data &&
          other->repair.best->cost <= MaxDissentCost)
        return nullptr;
    return &first;
  }
  if (readings.size() > 1 && IsSure(*readings[1], SecondPassMargin) &&
      (!first.repair.best || first.repair.best->data == readings[1]->repair.best->data))
    return readings[1];
  return nullptr;
}

}  // namespace

WrittenFields WrittenLine(const LineEvidence& line) {
  const PassReading* cheapest = nullptr;
  for (const PassReading& reading : line.readings)
    if (reading.repair.best &&
        (!cheapest || reading.repair.best->cost < cheapest->repair.best->cost))
      cheapest = &reading;
  const PassReading& first = line.readings.front();
  if (!cheapest || cheapest->repair.best->cost > MaxRepairCost)
    return {first.data, first.checksum, std::nullopt};

  const PassReading* glyphs = nullptr;
  std::vector<const PassReading*> others;
  for (const PassReading& reading : line.readings)
    if (reading.byGlyphs)
      glyphs = &reading;
    else
      others.push_back(&reading);
  auto dissents = [](const PassReading& reading, const PassReading& other) {
    return other.repair.best && other.repair.best->data != reading.repair.best->data &&
           other.repair.best->cost <= MaxDissentCost;
  };
  // The page's glyphs read best; more passes must come to the same data than read the line
  // otherwise as cheaply.
  const PassReading* sure = nullptr;
  if (glyphs && IsSure(*glyphs, 0)) {
    int agreeing = 0, dissenting = 0;
    for (const PassReading* other : others) {
      agreeing += other->repair.best && other->repair.best->data == glyphs->repair.best->data;
      // A pass torn between two readings of its own does not speak against the glyphs.
      const Repair& own = other->repair;
      const bool torn =
          own.best && own.runnerUp && own.runnerUp->cost - own.best->cost < LeastDissentMargin;
      dissenting += dissents(*glyphs, *other) && !torn;
    }
    // A clear reading of the glyphs' own is a vote for it too; alone, not where a pass read the
    // checksum cleanly as the glyphs' next reading has it (glyphs taken for one another alike
    // in the data and the checksum: 5 for 8 in both).
    bool clear = ClearGlyphReading(*glyphs);
    const std::optional<Reading>& next = glyphs->repair.runnerUp;
    if (agreeing == 0 && next)
      for (const PassReading* other : others)
        clear = clear && !(other->repair.best &&
                           other->checksum == std::to_string(other->repair.best->checksum) &&
                           other->repair.best->checksum == next->checksum &&
                           next->checksum != glyphs->repair.best->checksum);
    if (agreeing + (clear ? 1 : 0) > dissenting) sure = glyphs;
  }
  if (!sure) {
    // The recogniser's passes alone: the glyphs reading the line otherwise speak against them
    // as cheaply as the passes' own next reading does (two misreads that cancel in the sum),
    // or where that next reading is close.
    sure = SureReading(others);
    if (sure && glyphs && glyphs->repair.best &&
        glyphs->repair.best->data != sure->repair.best->data &&
        (!sure->repair.runnerUp ||
         glyphs->repair.best->cost <= std::max(MaxDissentCost, sure->repair.runnerUp->cost) ||
         sure->repair.runnerUp->cost - sure->repair.best->cost < LeastMarginAgainstGlyphs))
      sure = nullptr;
  }
  if (sure)
    return {sure->repair.best->data, std::to_string(sure->repair.best->checksum), sure->number};
  return {cheapest->repair.best->data, "", std::nullopt};
}
