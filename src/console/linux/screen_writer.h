#pragma once
// Turns what the terminal shows into what the program drew: only the cells that differ are
// written, and a colour change costs only what changed (bold on or off, the foreground). Kept
// apart from the binding so the bytes chosen can be checked without a terminal.

#include <string>

#include "console/cell_grid.h"

// What the terminal shows, as far as the binding knows.
struct TerminalView {
  Cell cells[ScreenRows][ScreenColumns];
  int attribute = -1;  // the colours in force; -1 unknown
  int column = 0;      // the cursor; 0 unknown
  int row = 0;
  int cursorVisible = -1;  // 1 shown, 0 hidden, -1 unknown
};

// How bytes 128-255 are shown: one character of the terminal's character set each.
using UpperHalfTexts = std::string[128];

// The shortest SGR sequence from one attribute to another; a full one from an unknown state.
void AppendColour(int from, int to, std::string& output);

// Appends what makes the terminal show the grid (cells, cursor, its visibility); view follows.
// Only the first columns and rows are drawn: a smaller terminal gets nothing outside it.
void WriteChanges(const CellGrid& grid, TerminalView& view, int columns, int rows,
                  const UpperHalfTexts& upperHalf, std::string& output);

// A line feed on the bottom row of a 25-row terminal: its rows move up one, view with them.
void WriteScroll(TerminalView& view, std::string& output);
