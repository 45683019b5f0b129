#include "scan/page_layout.h"

#include <algorithm>
#include <array>

namespace {

// A row is print when its ink is at least this share of the inkiest rows'.
constexpr int RowInkShare = 12;
// A band is a line when it is at least a third as high as most lines.
constexpr int LeastHeightShare = 3;
// Columns need this many dark pixels to count, so a speck of grain does not widen a band.
constexpr int LeastColumnInk = 2;

}  // namespace

int InkThreshold(const GreyImage& page) {
  std::array<double, 256> histogram{};
  for (const uint8_t level : page.pixels) ++histogram[level];
  const double total = static_cast<double>(page.pixels.size());
  double sumAll = 0;
  for (int level = 0; level < 256; ++level) sumAll += level * histogram[level];
  // Otsu's split: the level that keeps the two classes' means furthest apart.
  double below = 0, sumBelow = 0, bestSpread = -1;
  int best = 128;
  for (int level = 0; level < 255; ++level) {
    below += histogram[level];
    sumBelow += level * histogram[level];
    const double above = total - below;
    if (below == 0 || above == 0) continue;
    const double meanBelow = sumBelow / below, meanAbove = (sumAll - sumBelow) / above;
    const double spread = below * above * (meanAbove - meanBelow) * (meanAbove - meanBelow);
    if (spread > bestSpread) {
      bestSpread = spread;
      best = level + 1;
    }
  }
  return best;
}

std::vector<TextBand> FindTextBands(const GreyImage& page) {
  const int threshold = InkThreshold(page);
  std::vector<int> rows(static_cast<size_t>(page.height), 0);
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (page.At(x, y) < threshold) ++rows[static_cast<size_t>(y)];
  std::vector<int> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  if (sorted.empty()) return {};
  const int inkiest = sorted[sorted.size() * 97 / 100];
  const int cut = std::max(3, inkiest / RowInkShare);

  std::vector<TextBand> bands;
  for (int y = 0; y < page.height;) {
    if (rows[static_cast<size_t>(y)] < cut) {
      ++y;
      continue;
    }
    const int top = y;
    while (y < page.height && rows[static_cast<size_t>(y)] >= cut) ++y;
    bands.push_back({top, y, 0, page.width});
  }
  if (bands.empty()) return bands;
  std::vector<int> heights;
  for (const TextBand& band : bands) heights.push_back(band.bottom - band.top);
  std::sort(heights.begin(), heights.end());
  const int typical = heights[heights.size() * 3 / 4];
  std::erase_if(bands, [&](const TextBand& band) {
    return (band.bottom - band.top) * LeastHeightShare < typical;
  });

  for (TextBand& band : bands) {
    std::vector<int> columns(static_cast<size_t>(page.width), 0);
    for (int y = band.top; y < band.bottom; ++y)
      for (int x = 0; x < page.width; ++x)
        if (page.At(x, y) < threshold) ++columns[static_cast<size_t>(x)];
    auto inked = [&](int x) { return columns[static_cast<size_t>(x)] >= LeastColumnInk; };
    while (band.left < band.right && !inked(band.left)) ++band.left;
    while (band.right > band.left && !inked(band.right - 1)) --band.right;
  }
  std::erase_if(bands, [](const TextBand& band) { return band.right <= band.left; });
  return bands;
}
