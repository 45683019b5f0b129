#include "scan/glyph_cells.h"

#include <algorithm>
#include <cmath>

#include "listing/line_format.h"

namespace {

constexpr int ShapeWidth = 10, ShapeHeight = 16;
// A cell is inked when it holds this share of the ink of most of the line's inked cells; a row
// is the digits' when it holds this share of the inkiest row's.
constexpr float LeastCellInk = 0.4f;
constexpr float LeastRowInk = 0.1f;
// The part of a cell, as a share of the pitch each side of its centre, whose ink is weighed.
constexpr float CellInkWidth = 0.4f;
constexpr size_t MostNumberDigits = 5, MostChecksumDigits = 4;
// How far a glyph may sit off its cell's centre, as shares of the pitch.
constexpr float Slides[] = {0.0f, -0.07f, 0.07f, -0.14f, 0.14f};
// ...and how far above or below, as shares of the digits' height.
constexpr float Rises[] = {0.0f, -0.06f, 0.06f};
// Costs for the repair: how much a worse match costs, and a digit the page never showed.
constexpr float CostPerMatch = 400;
constexpr float UnseenCost = 60;

float Centre(const ReadSymbol& symbol) {
  return 0.5f * static_cast<float>(symbol.left + symbol.right);
}

struct Grid {
  float origin, pitch;
  float Centre(int k) const { return origin + static_cast<float>(k) * pitch; }
  int Index(float x) const { return static_cast<int>(std::lround((x - origin) / pitch)); }
};

// How much darker than the paper a part of the strip is, summed: grain averages out, and a
// faint thin glyph still counts against the strip's other glyphs.
struct InkMeter {
  const ReadLine& line;
  int paper = 255;
  float Mass(int left, int right, int top, int bottom) const {
    float mass = 0;
    left = std::max(left - line.stripLeft, 0);
    right = std::min(right - line.stripLeft, line.strip.width);
    for (int y = std::max(top, 0); y < std::min(bottom, line.strip.height); ++y)
      for (int x = left; x < right; ++x) mass += static_cast<float>(paper - line.strip.At(x, y));
    return mass;
  }
  float CellMass(float centre, float pitch) const {
    return Mass(static_cast<int>(centre - CellInkWidth * pitch),
                static_cast<int>(centre + CellInkWidth * pitch) + 1, 0, line.strip.height);
  }
};

InkMeter MeterOf(const ReadLine& line) {
  std::vector<uint8_t> levels = line.strip.pixels;
  std::nth_element(levels.begin(), levels.begin() + static_cast<std::ptrdiff_t>(levels.size() / 2),
                   levels.end());
  return {line, levels[levels.size() / 2]};
}

// Glyphs of a monospaced face leave their cells' edges nearly blank: the grid is slid and
// stretched a little to where its edges cross the least ink.
Grid Settled(const Grid& grid, const InkMeter& meter) {
  const ReadLine& line = meter.line;
  std::vector<float> columns(static_cast<size_t>(line.strip.width), 0);
  for (int y = 0; y < line.strip.height; ++y)
    for (int x = 0; x < line.strip.width; ++x)
      columns[static_cast<size_t>(x)] +=
          std::max(0.0f, static_cast<float>(meter.paper - line.strip.At(x, y)));
  auto edgeInk = [&](const Grid& g) {
    float ink = 0;
    const int first = g.Index(static_cast<float>(line.stripLeft)) - 1;
    const int last = g.Index(static_cast<float>(line.stripLeft + line.strip.width));
    for (int k = first; k <= last; ++k) {
      const int x = static_cast<int>(std::lround(g.Centre(k) + 0.5f * g.pitch)) - line.stripLeft;
      for (int d = -1; d <= 1; ++d)
        if (x + d >= 0 && x + d < line.strip.width) ink += columns[static_cast<size_t>(x + d)];
    }
    return ink;
  };
  Grid best = grid;
  float least = edgeInk(grid);
  for (int step = -8; step <= 8; ++step)
    for (int slide = -7; slide <= 7; ++slide) {
      const float stretch = 1 + 0.0025f * static_cast<float>(step);
      Grid g = grid;
      g.pitch = grid.pitch * stretch;
      // Stretched about the line's middle, so its ends move least.
      const float middle =
          static_cast<float>(line.stripLeft) + 0.5f * static_cast<float>(line.strip.width);
      g.origin = middle - (middle - grid.origin) * stretch +
                 0.05f * static_cast<float>(slide) * grid.pitch;
      const float ink = edgeInk(g);
      if (ink < least) {
        least = ink;
        best = g;
      }
    }
  return best;
}

// The line's own grid: each symbol given the cell the page's pitch puts it in, then the
// straight line through their centres, so a pitch a little off does not drift.
std::optional<Grid> FitGrid(const std::vector<float>& centres, float pitch) {
  if (centres.size() < 2) return std::nullopt;
  const float origin = centres.front();
  double n = 0, sk = 0, sc = 0, skk = 0, skc = 0;
  for (const float centre : centres) {
    const double k = std::lround((centre - origin) / pitch);
    n += 1;
    sk += k;
    sc += centre;
    skk += k * k;
    skc += k * centre;
  }
  const double spread = n * skk - sk * sk;
  double step = pitch;
  if (spread > 0) step = (n * skc - sk * sc) / spread;
  if (std::abs(step - pitch) > 0.1 * pitch) step = pitch;
  return Grid{static_cast<float>((sc - step * sk) / n), static_cast<float>(step)};
}

// Which cells of a line hold a glyph: those with at least a share of the ink of most of the
// line's inked cells.
struct InkedCells {
  Grid grid;
  int first = 0;
  std::vector<bool> inked;  // from cell first on
  bool At(int k) const {
    return k >= first && k - first < static_cast<int>(inked.size()) &&
           inked[static_cast<size_t>(k - first)];
  }
};

InkedCells InkedCellsOf(const ReadLine& line, const InkMeter& meter, const Grid& grid) {
  // Only cells wholly on the strip: a cut one would weigh less than its blank neighbours.
  const float edge = 0.5f * grid.pitch;
  InkedCells cells{grid, grid.Index(static_cast<float>(line.stripLeft) + edge), {}};
  const int last = grid.Index(static_cast<float>(line.stripLeft + line.strip.width) - edge);
  std::vector<float> masses;
  for (int k = cells.first; k <= last; ++k)
    masses.push_back(meter.CellMass(grid.Centre(k), grid.pitch));
  if (masses.empty()) return cells;
  std::vector<float> sorted = masses;
  std::sort(sorted.begin(), sorted.end());
  // Measured from the blank cells' level, which the strip's paper level only guesses at.
  const float blank = sorted[sorted.size() / 10], inked = sorted[sorted.size() * 4 / 5];
  const float least = blank + LeastCellInk * (inked - blank);
  for (const float mass : masses) cells.inked.push_back(mass >= least);
  return cells;
}

// The inked cells from the first symbol's to the last's.
std::vector<float> FieldCells(const std::vector<ReadSymbol>& symbols, const InkedCells& inked) {
  std::vector<float> cells;
  if (symbols.empty()) return cells;
  const Grid& grid = inked.grid;
  int first = grid.Index(Centre(symbols.front())), last = first;
  for (const ReadSymbol& symbol : symbols) {
    first = std::min(first, grid.Index(Centre(symbol)));
    last = std::max(last, grid.Index(Centre(symbol)));
  }
  for (int k = first; k <= last; ++k)
    if (inked.At(k)) cells.push_back(grid.Centre(k));
  return cells;
}

GlyphShape Normalised(GlyphShape shape) {
  float mean = 0;
  for (float v : shape) mean += v;
  mean /= static_cast<float>(shape.size());
  float norm = 0;
  for (float& v : shape) {
    v -= mean;
    norm += v * v;
  }
  norm = std::sqrt(norm);
  if (norm > 0)
    for (float& v : shape) v /= norm;
  return shape;
}

}  // namespace

std::optional<float> CellPitch(const std::vector<LineSymbols>& lines) {
  std::vector<float> steps;
  for (const LineSymbols& line : lines)
    for (size_t k = 1; k < line.data.size(); ++k)
      steps.push_back(Centre(line.data[k]) - Centre(line.data[k - 1]));
  if (steps.size() < 2 * static_cast<size_t>(DataDigits)) return std::nullopt;
  std::sort(steps.begin(), steps.end());
  // Grouped data step twice the pitch between groups: the lower quartile is one pitch.
  const float rough = steps[steps.size() / 4];
  if (rough <= 0) return std::nullopt;
  float sum = 0;
  int count = 0;
  for (float step : steps)
    if (step > 0.8f * rough && step < 1.2f * rough) {
      sum += step;
      ++count;
    }
  return sum / static_cast<float>(count);
}

std::optional<LineCells> CellsOf(const ReadLine& line, const LineSymbols& fields, float pitch) {
  if (line.strip.pixels.empty() || fields.data.empty()) return std::nullopt;
  std::vector<float> centres;
  for (const ReadWord& word : line.words)
    for (const ReadSymbol& symbol : word.symbols)
      if (symbol.right - symbol.left < 1.5f * pitch) centres.push_back(Centre(symbol));
  const std::optional<Grid> grid = FitGrid(centres, pitch);
  if (!grid) return std::nullopt;
  const InkMeter meter = MeterOf(line);
  const Grid settled = Settled(*grid, meter);
  pitch = settled.pitch;
  const InkedCells inked = InkedCellsOf(line, meter, settled);
  LineCells cells;
  // Runs of inked cells two blank cells apart: the number's (where the recogniser read it), the
  // data's (in groups or not) and the checksum's; specks beyond them are no field. Else the
  // fields as the recogniser split them.
  std::vector<std::vector<int>> runs;
  int blanks = 2;
  for (int k = inked.first; k < inked.first + static_cast<int>(inked.inked.size()); ++k) {
    if (!inked.At(k)) {
      ++blanks;
      continue;
    }
    if (blanks >= 2) runs.emplace_back();
    blanks = 0;
    runs.back().push_back(k);
  }
  auto runOf = [&](const ReadSymbol& symbol) {
    const int k = settled.Index(Centre(symbol));
    for (size_t run = 0; run < runs.size(); ++run)
      if (k >= runs[run].front() && k <= runs[run].back()) return static_cast<int>(run);
    return -1;
  };
  auto fromRuns = [&](int numberRun, int checksumRun) {
    LineCells found;
    if (numberRun < 0 || checksumRun <= numberRun + 1) return found;
    // The number ends where its run ends and the checksum starts where its run starts; a speck
    // a blank cell beyond is neither.
    const std::vector<int>& number = runs[static_cast<size_t>(numberRun)];
    for (size_t k = number.size(); k-- > 0 && number.size() - k <= MostNumberDigits;) {
      found.number.insert(found.number.begin(), settled.Centre(number[k]));
      if (k == 0 || number[k - 1] != number[k] - 1) break;
    }
    const std::vector<int>& checksum = runs[static_cast<size_t>(checksumRun)];
    for (size_t k = 0; k < checksum.size() && k < MostChecksumDigits; ++k) {
      found.checksum.push_back(settled.Centre(checksum[k]));
      if (k + 1 < checksum.size() && checksum[k + 1] != checksum[k] + 1) break;
    }
    for (int run = numberRun + 1; run < checksumRun; ++run)
      for (const int k : runs[static_cast<size_t>(run)]) found.data.push_back(settled.Centre(k));
    return found;
  };
  const int runCount = static_cast<int>(runs.size());
  const LineCells choices[] = {
      fromRuns(fields.number.empty() ? -1 : runOf(fields.number.front()),
               fields.checksum.empty() ? -1 : runOf(fields.checksum.back())),
      fromRuns(0, runCount - 1),
      {FieldCells(fields.number, inked), FieldCells(fields.data, inked),
       FieldCells(fields.checksum, inked)}};
  for (const LineCells& choice : choices)
    if (choice.data.size() == static_cast<size_t>(DataDigits)) {
      cells = choice;
      break;
    }
  if (cells.data.size() != static_cast<size_t>(DataDigits)) return std::nullopt;
  cells.pitch = pitch;
  // The rows the data's ink spans: the digits' and capitals' common height.
  std::vector<float> rows;
  for (int y = 0; y < line.strip.height; ++y) {
    float mass = 0;
    for (const float centre : cells.data)
      mass += meter.Mass(static_cast<int>(centre - CellInkWidth * pitch),
                         static_cast<int>(centre + CellInkWidth * pitch) + 1, y, y + 1);
    rows.push_back(mass);
  }
  const float least = LeastRowInk * *std::max_element(rows.begin(), rows.end());
  cells.top = 0;
  cells.bottom = line.strip.height;
  while (cells.top + 1 < cells.bottom && rows[static_cast<size_t>(cells.top)] < least) ++cells.top;
  while (cells.bottom - 1 > cells.top && rows[static_cast<size_t>(cells.bottom - 1)] < least)
    --cells.bottom;
  return cells;
}

std::vector<GlyphShape> ShapesOf(const ReadLine& line, const LineCells& cells, float centre) {
  const GreyImage& strip = line.strip;
  const float pitch = cells.pitch;
  const float height = static_cast<float>(cells.bottom - cells.top + 1);
  const float sampleWidth = pitch / ShapeWidth, sampleHeight = height / ShapeHeight;
  std::vector<GlyphShape> shapes;
  for (const float rise : Rises)
    for (const float slide : Slides) {
      GlyphShape shape(ShapeWidth * ShapeHeight, 0);
      const float left = centre + (slide - 0.5f) * pitch - static_cast<float>(line.stripLeft);
      const float top = static_cast<float>(cells.top) - 0.5f + rise * height;
      // Each sample is the mean ink over its part of the cell, at 4x4 points in it.
      for (int row = 0; row < ShapeHeight; ++row)
        for (int column = 0; column < ShapeWidth; ++column) {
          float ink = 0;
          for (int sy = 0; sy < 4; ++sy)
            for (int sx = 0; sx < 4; ++sx) {
              const int x = static_cast<int>(std::floor(
                  left + (static_cast<float>(column) + (static_cast<float>(sx) + 0.5f) / 4) *
                             sampleWidth));
              const int y = static_cast<int>(
                  std::floor(top + (static_cast<float>(row) + (static_cast<float>(sy) + 0.5f) / 4) *
                                       sampleHeight));
              const int level =
                  x >= 0 && x < strip.width && y >= 0 && y < strip.height ? strip.At(x, y) : 255;
              ink += static_cast<float>(255 - level);
            }
          shape[static_cast<size_t>(row * ShapeWidth + column)] = ink;
        }
      shapes.push_back(Normalised(std::move(shape)));
    }
  return shapes;
}

void LearnGlyph(GlyphModel& model, int digit, const GlyphShape& shape) {
  if (model.mean.empty()) model.mean.assign(16, {});
  GlyphShape& mean = model.mean[static_cast<size_t>(digit)];
  if (mean.empty()) mean.assign(shape.size(), 0);
  for (size_t k = 0; k < shape.size(); ++k) mean[k] += shape[k];
}

void FinishModel(GlyphModel& model) {
  for (GlyphShape& mean : model.mean)
    if (!mean.empty()) mean = Normalised(std::move(mean));
}

DigitOptions GlyphOptions(const GlyphModel& model, const std::vector<GlyphShape>& shapes,
                          DigitKind kind) {
  const int digits = kind == DigitKind::Hex ? 16 : 10;
  std::vector<float> likeness(static_cast<size_t>(digits), -1);
  float best = -1;
  for (int digit = 0; digit < digits && !model.mean.empty(); ++digit) {
    const GlyphShape& mean = model.mean[static_cast<size_t>(digit)];
    if (mean.empty()) continue;
    for (const GlyphShape& shape : shapes) {
      float dot = 0;
      for (size_t k = 0; k < shape.size(); ++k) dot += shape[k] * mean[k];
      likeness[static_cast<size_t>(digit)] = std::max(likeness[static_cast<size_t>(digit)], dot);
    }
    best = std::max(best, likeness[static_cast<size_t>(digit)]);
  }
  DigitOptions options;
  for (int digit = 0; digit < digits; ++digit) {
    const bool seen = !model.mean.empty() && !model.mean[static_cast<size_t>(digit)].empty();
    options.push_back(
        {digit, seen ? CostPerMatch * (best - likeness[static_cast<size_t>(digit)]) : UnseenCost});
  }
  std::stable_sort(options.begin(), options.end(),
                   [](const DigitOption& a, const DigitOption& b) { return a.cost < b.cost; });
  return options;
}
