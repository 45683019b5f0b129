#pragma once
// Where the lines of print are on an evenly lit page, found from its rows' ink, so that each
// can be read on its own.

#include <vector>

#include "scan/page_reading.h"

struct TextBand {
  int top = 0, bottom = 0;  // rows, bottom excluded
  int left = 0, right = 0;  // columns, right excluded
};

// The grey level between ink and paper: the one that best splits the page's histogram in two.
int InkThreshold(const GreyImage& page);

// The bands of rows holding print, top to bottom; bands much lower than most (specks, rules)
// are left out.
std::vector<TextBand> FindTextBands(const GreyImage& page);
