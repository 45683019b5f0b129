// Lines found on a page by their ink, and a line's cells found on its strip whatever the
// recogniser made of its symbols.
#include "scan/glyph_cells.h"

#include <gtest/gtest.h>

#include "scan/page_layout.h"

namespace {

constexpr int Pitch = 10;

// A white image with a dark block standing for each character that is not a space, one line
// of text at a time, each character in a cell Pitch wide.
void Print(GreyImage& image, const std::string& text, int top, int height) {
  for (size_t k = 0; k < text.size(); ++k)
    if (text[k] != ' ')
      for (int y = top; y < top + height; ++y)
        for (int x = 2; x < Pitch - 2; ++x)
          image.pixels[static_cast<size_t>(y * image.width + Pitch * (static_cast<int>(k) + 1) +
                                           x)] = 20;
}

GreyImage White(int width, int height) {
  return {width, height, std::vector<uint8_t>(static_cast<size_t>(width * height), 250)};
}

TEST(PageLayout, BandsAreTheLinesOfPrintNotASpeck) {
  GreyImage page = White(400, 120);
  Print(page, "12  0123456789ABCDEF0123  345", 10, 15);
  Print(page, "13  0123456789ABCDEF0123   45", 50, 15);
  page.pixels[100 * 400 + 200] = page.pixels[100 * 400 + 201] = 0;  // a speck of grain
  const std::vector<TextBand> bands = FindTextBands(page);
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(std::tie(bands[0].top, bands[0].bottom, bands[0].left, bands[0].right),
            std::tuple(10, 25, 12, 298));
  EXPECT_EQ(std::tie(bands[1].top, bands[1].bottom), std::tuple(50, 65));
}

TEST(GlyphCells, TheDataFillTwentyCellsThoughADigitWasNotRead) {
  const std::string text = "12  0123456789ABCDEF0123  345";
  ReadLine line;
  line.strip = White(Pitch * (static_cast<int>(text.size()) + 2), 20);
  Print(line.strip, text, 3, 14);
  line.stripLeft = 100;
  LineSymbols fields;
  for (size_t k = 0; k < text.size(); ++k) {
    if (text[k] == ' ' || k == 12) continue;  // the recogniser missed the data's ninth digit
    const int left = line.stripLeft + Pitch * (static_cast<int>(k) + 1) + 2;
    ReadSymbol symbol{{{std::string(1, text[k]), 0}}, 90, left, left + Pitch - 4};
    (k < 2 ? fields.number : k < 24 ? fields.data : fields.checksum).push_back(symbol);
    line.words.push_back({{symbol}});
  }
  const std::optional<LineCells> cells = CellsOf(line, fields, Pitch * 1.03f);
  ASSERT_TRUE(cells);
  EXPECT_EQ(cells->number.size(), 2u);
  EXPECT_EQ(cells->checksum.size(), 3u);
  ASSERT_EQ(cells->data.size(), 20u);
  EXPECT_NEAR(cells->data[8], line.stripLeft + Pitch * 13 + Pitch / 2, 1.5);
  EXPECT_EQ(std::tie(cells->top, cells->bottom), std::tuple(3, 17));
}

}  // namespace
