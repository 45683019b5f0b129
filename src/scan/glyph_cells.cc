#include "scan/glyph_cells.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "listing/line_format.h"

namespace {

constexpr int ShapeWidth = 10, ShapeHeight = 16;
// A cell is inked when this share of it is darker than the strip's ink threshold.
constexpr float LeastCellInk = 0.04f;
// How far a glyph may sit off its cell's centre, as shares of the pitch.
constexpr float Slides[] = {0.0f, -0.07f, 0.07f, -0.14f, 0.14f};
// Costs for the repair: how much a worse match costs, and a digit the page never showed.
constexpr float CostPerMatch = 400;
constexpr float UnseenCost = 60;

float Centre(const ReadSymbol& symbol) {
  return 0.5f * static_cast<float>(symbol.left + symbol.right);
}

int StripThreshold(const GreyImage& strip) {
  // Halfway between the paper and the darkest ink the strip holds.
  std::vector<uint8_t> levels = strip.pixels;
  if (levels.empty()) return 0;
  std::sort(levels.begin(), levels.end());
  const int ink = levels[levels.size() / 50];
  const int paper = levels[levels.size() / 2];
  return (ink + paper) / 2;
}

bool Inked(const ReadLine& line, float centre, float pitch, int threshold) {
  const GreyImage& strip = line.strip;
  const int left = std::max(0, static_cast<int>(centre - 0.35f * pitch) - line.stripLeft);
  const int right =
      std::min(strip.width, static_cast<int>(centre + 0.35f * pitch) - line.stripLeft + 1);
  if (right <= left) return false;
  int dark = 0;
  for (int y = 0; y < strip.height; ++y)
    for (int x = left; x < right; ++x)
      if (strip.At(x, y) < threshold) ++dark;
  return static_cast<float>(dark) >=
         LeastCellInk * static_cast<float>((right - left) * strip.height);
}

struct Grid {
  float origin, pitch;
  float Centre(int k) const { return origin + static_cast<float>(k) * pitch; }
  int Index(float x) const { return static_cast<int>(std::lround((x - origin) / pitch)); }
};

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

// The inked cells from the first symbol's to the last's, and the inked cells next to them
// (a digit at either end the recogniser did not see).
std::vector<float> FieldCells(const ReadLine& line, const std::vector<ReadSymbol>& symbols,
                              const Grid& grid, int threshold) {
  std::vector<float> cells;
  if (symbols.empty()) return cells;
  int first = grid.Index(Centre(symbols.front())), last = first;
  for (const ReadSymbol& symbol : symbols) {
    first = std::min(first, grid.Index(Centre(symbol)));
    last = std::max(last, grid.Index(Centre(symbol)));
  }
  for (int k = first; k <= last; ++k)
    if (Inked(line, grid.Centre(k), grid.pitch, threshold)) cells.push_back(grid.Centre(k));
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
  pitch = grid->pitch;
  const int threshold = StripThreshold(line.strip);
  LineCells cells;
  // Runs of inked cells two blank cells apart: the number, the data (in groups or not) and the
  // checksum; else the fields as the recogniser split them.
  const int first = grid->Index(static_cast<float>(line.stripLeft));
  const int last = grid->Index(static_cast<float>(line.stripLeft + line.strip.width - 1));
  std::vector<std::vector<float>> runs;
  int blanks = 2;
  for (int k = first; k <= last; ++k) {
    const float centre = grid->Centre(k);
    if (!Inked(line, centre, pitch, threshold)) {
      ++blanks;
      continue;
    }
    if (blanks >= 2) runs.emplace_back();
    blanks = 0;
    runs.back().push_back(centre);
  }
  if (runs.size() >= 3) {
    cells.number = runs.front();
    cells.checksum = runs.back();
    for (size_t k = 1; k + 1 < runs.size(); ++k)
      cells.data.insert(cells.data.end(), runs[k].begin(), runs[k].end());
  }
  if (cells.data.size() != static_cast<size_t>(DataDigits)) {
    cells.data = FieldCells(line, fields.data, *grid, threshold);
    cells.number = FieldCells(line, fields.number, *grid, threshold);
    cells.checksum = FieldCells(line, fields.checksum, *grid, threshold);
  }
  if (cells.data.size() != static_cast<size_t>(DataDigits)) return std::nullopt;
  cells.pitch = pitch;
  // The rows the data's ink spans: the digits' and capitals' common height.
  std::vector<int> rows(static_cast<size_t>(line.strip.height), 0);
  for (const float centre : cells.data)
    for (int y = 0; y < line.strip.height; ++y)
      for (int x = static_cast<int>(centre - 0.4f * pitch) - line.stripLeft;
           x <= static_cast<int>(centre + 0.4f * pitch) - line.stripLeft; ++x)
        if (x >= 0 && x < line.strip.width && line.strip.At(x, y) < threshold)
          ++rows[static_cast<size_t>(y)];
  const int least = std::max(2, *std::max_element(rows.begin(), rows.end()) / 10);
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
  std::vector<GlyphShape> shapes;
  for (const float slide : Slides) {
    GlyphShape shape(ShapeWidth * ShapeHeight, 0);
    const float left = centre + (slide - 0.5f) * pitch - static_cast<float>(line.stripLeft);
    const float cellWidth = pitch / ShapeWidth;
    const float cellHeight = static_cast<float>(cells.bottom - cells.top + 1) / ShapeHeight;
    // Each sample is the mean ink over its part of the cell, 2x2 points in it.
    for (int row = 0; row < ShapeHeight; ++row)
      for (int column = 0; column < ShapeWidth; ++column) {
        float ink = 0;
        for (int sy = 0; sy < 2; ++sy)
          for (int sx = 0; sx < 2; ++sx) {
            const int x = static_cast<int>(
                left +
                (static_cast<float>(column) + 0.25f + 0.5f * static_cast<float>(sx)) * cellWidth);
            const int y =
                cells.top - 1 +
                static_cast<int>((static_cast<float>(row) + 0.25f + 0.5f * static_cast<float>(sy)) *
                                 cellHeight);
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
  if (model.mean.empty()) {
    model.mean.assign(16, {});
    model.examples.assign(16, 0);
  }
  GlyphShape& mean = model.mean[static_cast<size_t>(digit)];
  if (mean.empty()) mean.assign(shape.size(), 0);
  for (size_t k = 0; k < shape.size(); ++k) mean[k] += shape[k];
  ++model.examples[static_cast<size_t>(digit)];
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
