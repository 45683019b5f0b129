#pragma once
// Listing print is monospaced: every character sits in a cell of the same width. The cells of
// a line say how many digits its data hold, whatever the recogniser made of them, and the
// page's own glyphs, read where its lines add up, tell the digits of the other cells apart.

#include <optional>
#include <vector>

#include "scan/line_fields.h"
#include "scan/look_alikes.h"
#include "scan/page_reading.h"

// The width of a character cell, from the spacing of the data symbols of lines read strip by
// strip; none when too few were read.
std::optional<float> CellPitch(const std::vector<LineSymbols>& lines);

// The centres of the inked cells of each field of a line, across its strip.
struct LineCells {
  std::vector<float> number, data, checksum;
  float pitch = 0;          // the line's own
  int top = 0, bottom = 0;  // the rows of the strip the digits fill
};

// None unless the line's data fill exactly 20 inked cells.
std::optional<LineCells> CellsOf(const ReadLine& line, const LineSymbols& fields, float pitch);

// A cell's glyph reduced to a few evenly spaced samples, for comparing one with another.
using GlyphShape = std::vector<float>;
// The glyph's shape as its cell lies first, then slid a little sideways, up and down, so one
// printed a little off its cell still matches.
std::vector<GlyphShape> ShapesOf(const ReadLine& line, const LineCells& cells, float centre);

// The page's glyph of each digit 0 to F: the mean shape of the cells read as that digit.
struct GlyphModel {
  std::vector<GlyphShape> mean;  // 16, empty where the page gave no example
};
void LearnGlyph(GlyphModel& model, int digit, const GlyphShape& shape);
void FinishModel(GlyphModel& model);

// What the cell may hold, from how far its glyph is from each digit's.
DigitOptions GlyphOptions(const GlyphModel& model, const std::vector<GlyphShape>& shapes,
                          DigitKind kind);
