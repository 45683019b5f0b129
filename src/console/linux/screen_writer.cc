#include "console/linux/screen_writer.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// Unchanged cells between two changed ones are written again when a move would cost more.
constexpr int MaxGap = 3;
// Rows of blanks to the right edge are erased rather than written when longer than this.
constexpr int MaxBlanksWritten = 3;

// Where the terminal's cursor stands and which colours are in force while a row is written.
struct Pen {
  int attribute;
  int column;  // 0 unknown
  int row;
};

void MoveTo(Pen& pen, int column, int row, std::string& output) {
  if (pen.row == row && pen.column == column) return;
  if (pen.row == row && pen.column > 0 && column == pen.column + 1) {
    output += "\x1b[C";
  } else if (pen.row == row && pen.column > 0 && column == pen.column - 1) {
    output += '\b';
  } else if (pen.row == row && pen.column > 0) {
    output += "\x1b[" + std::to_string(column) + "G";
  } else if (column == 1 && row == 1) {
    output += "\x1b[H";
  } else {
    output += "\x1b[" + std::to_string(row) + ";" + std::to_string(column) + "H";
  }
  pen.column = column;
  pen.row = row;
}

void PutCell(Pen& pen, Cell cell, const UpperHalfTexts& upperHalf, std::string& output) {
  AppendColour(pen.attribute, cell.attribute, output);
  pen.attribute = cell.attribute;
  if (cell.character < 128)
    output.push_back(static_cast<char>(cell.character));
  else
    output += upperHalf[cell.character - 128];
  // After the last column terminals differ in where the cursor waits.
  if (pen.column == ScreenColumns) pen.column = pen.row = 0;
  if (pen.column > 0) ++pen.column;
}

// The cells first to last of a row, one after another; from blankFrom on the row may be erased.
// True when it was: the rest of the row is done.
bool WriteInOrder(const Cell* wanted, int row, int first, int last, int blankFrom, Pen& pen,
                  const UpperHalfTexts& upperHalf, std::string& output) {
  MoveTo(pen, first, row, output);
  for (int column = first; column <= last; ++column) {
    const Cell cell = wanted[column - 1];
    if (column >= blankFrom && last - column + 1 > MaxBlanksWritten) {
      AppendColour(pen.attribute, cell.attribute, output);
      pen.attribute = cell.attribute;
      output += "\x1b[K";
      return true;
    }
    PutCell(pen, cell, upperHalf, output);
  }
  return false;
}

// The same cells in two passes: all in the most frequent colour, then the others over them.
// Where colours alternate this costs a move per cell instead of a colour change per cell.
void WriteInLayers(const Cell* wanted, int row, int first, int last, Pen& pen,
                   const UpperHalfTexts& upperHalf, std::string& output) {
  int counts[256] = {};
  for (int column = first; column <= last; ++column) ++counts[wanted[column - 1].attribute];
  const uint8_t base = static_cast<uint8_t>(std::max_element(counts, counts + 256) - counts);
  MoveTo(pen, first, row, output);
  for (int column = first; column <= last; ++column)
    PutCell(pen, Cell{wanted[column - 1].character, base}, upperHalf, output);
  for (int column = first; column <= last; ++column) {
    if (wanted[column - 1].attribute == base) continue;
    MoveTo(pen, column, row, output);
    PutCell(pen, wanted[column - 1], upperHalf, output);
  }
}

// The first column from which the row is blanks of one colour to its end; past the row if none.
int BlankFrom(const Cell* wanted) {
  const Cell last = wanted[ScreenColumns - 1];
  if (last.character != ' ') return ScreenColumns + 1;
  int column = ScreenColumns;
  while (column > 1 && wanted[column - 2] == last) --column;
  return column;
}

void WriteRow(const Cell* wanted, Cell* shown, int row, int columns, Pen& pen,
              const UpperHalfTexts& upperHalf, std::string& output) {
  const int blankFrom = BlankFrom(wanted);
  for (int column = 1; column <= columns; ++column) {
    if (wanted[column - 1] == shown[column - 1]) continue;
    int last = column;
    for (int next = column + 1; next <= columns && next - last <= MaxGap + 1; ++next)
      if (!(wanted[next - 1] == shown[next - 1])) last = next;
    Pen inOrderPen = pen, layeredPen = pen;
    std::string inOrder, layered;
    const bool erased =
        WriteInOrder(wanted, row, column, last, blankFrom, inOrderPen, upperHalf, inOrder);
    const bool oneColour = std::all_of(wanted + column, wanted + last, [&](const Cell& cell) {
      return cell.attribute == wanted[column - 1].attribute;
    });
    if (!oneColour) WriteInLayers(wanted, row, column, last, layeredPen, upperHalf, layered);
    if (!erased && !oneColour && layered.size() < inOrder.size()) {
      output += layered;
      pen = layeredPen;
    } else {
      output += inOrder;
      pen = inOrderPen;
      if (erased) break;
    }
    column = last;
  }
  std::copy(wanted, wanted + columns, shown);
}

}  // namespace

void AppendColour(int from, int to, std::string& output) {
  if (from == to) return;
  constexpr char AnsiIndex[] = "04261537";  // the PC puts blue first, ANSI red
  const int colour = to & 0x0F;
  const bool bright = colour >= 8;
  if (from < 0) {
    output += bright ? "\x1b[0;1;3" : "\x1b[0;3";
    output += AnsiIndex[colour & 7];
    output += ";40m";
    return;
  }
  // Bold off is followed by the foreground again: some terminals keep bold's bright colour.
  std::string parts;
  const bool boldOff = !bright && (from & 0x0F) >= 8;
  if (bright != ((from & 0x0F) >= 8)) parts += bright ? "1" : "22";
  if ((from & 7) != (colour & 7) || boldOff) {
    if (!parts.empty()) parts += ';';
    parts += '3';
    parts += AnsiIndex[colour & 7];
  }
  if (!parts.empty()) output += "\x1b[" + parts + "m";
}

void WriteChanges(const CellGrid& grid, TerminalView& view, int columns, int rows,
                  const UpperHalfTexts& upperHalf, std::string& output) {
  Pen pen{view.attribute, view.column, view.row};
  // Cells are two bytes without padding: a row compares as one block, the unchanged ones cheaply.
  for (int row = 1; row <= rows; ++row)
    if (std::memcmp(grid.cells[row - 1], view.cells[row - 1], sizeof(Cell) * columns) != 0)
      WriteRow(grid.cells[row - 1], view.cells[row - 1], row, columns, pen, upperHalf, output);
  MoveTo(pen, std::min(grid.column, columns), std::min(grid.row, rows), output);
  view.attribute = pen.attribute;
  view.column = pen.column;
  view.row = pen.row;
  if (view.cursorVisible != static_cast<int>(grid.cursorVisible)) {
    output += grid.cursorVisible ? "\x1b[?25h" : "\x1b[?25l";
    view.cursorVisible = grid.cursorVisible;
  }
}

void WriteScroll(TerminalView& view, std::string& output) {
  Pen pen{view.attribute, view.column, view.row};
  MoveTo(pen, 1, ScreenRows, output);
  output += '\n';
  view.column = 1;
  view.row = ScreenRows;
  std::memmove(view.cells[0], view.cells[1], sizeof(Cell) * ScreenColumns * (ScreenRows - 1));
  // The new row's colours are the terminal's business: it is written again whatever it holds.
  std::fill(std::begin(view.cells[ScreenRows - 1]), std::end(view.cells[ScreenRows - 1]),
            Cell{0, 0});
}
