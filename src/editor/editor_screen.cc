#include "editor/editor_screen.h"

#include <string>

#include "banner/banner.h"
#include "console/console.h"
#include "listing/line_check.h"

namespace {

constexpr int WindowRows = 3;  // lines shown above and below the current one
constexpr int HelpRow = 21;

// Title rules: the title goes into the brackets at column 6.
const std::string NarrowTitleRule = "---[" + std::string(8, ' ') + "]" + std::string(67, '-');
const std::string WideTitleRule = "---[" + std::string(10, ' ') + "]" + std::string(65, '-');
constexpr std::string_view WindowRule = "|------------------|";
constexpr std::string_view UpMark = "        ^^^^";
constexpr std::string_view DownMark = "        vvvv";
constexpr std::string_view NoMark = "            ";

// Each text of one page is as long as the text of the other page in the same row, so a page
// covers the other without clearing.
const std::string FirstHelpPage[] = {
    "  Cursor izda./decha = Mover caracter izda./decha.   #   TAB = Alternar campos",
    "     Cursor arriba/abajo = Ir a linea ant./sgte.     #   0-9, A-F = Datos",
    "  DELETE, SUPR = Borrar   #     G = Ir a linea       #   X = Salir sin guardar",
    // Padded as long as the second page's row.
    "    S = Guardar cambios   #   ENTER = Compilar TAP   #   Q = Salir" + std::string(8, ' '),
    std::string(25, ' ') + "H = Ver 2\xA6 pantalla de teclas",
};
const std::string SecondHelpPage[] = {
    std::string(21, ' ') + "Re Pag/Av Pag = Retroceder/avanzar 7 lineas" + std::string(14, ' '),
    std::string(21, ' ') + "Inicio/Fin = Ir a principio final del campo" + std::string(9, ' '),
    std::string(21, ' ') + "P = Pista: que digito arregla la suma   ESC = Cancelar" +
        std::string(3, ' '),
    std::string(21, ' ') + "INSERT = Nueva linea al final   CTRL+Y = Borrar linea",
    std::string(25, ' ') + "H = Ver 1\xA6 pantalla de teclas",
};

void DrawTitleRule(int row, const std::string& rule, std::string_view title) {
  SetTextColor(LightBlue);
  MoveCursor(1, row);
  WriteText(rule);
  SetTextColor(LightCyan);
  MoveCursor(6, row);
  WriteText(title);
}

void DrawWindowRule(int row, bool marked, std::string_view mark) {
  MoveCursor(DataFieldColumn, row);
  WriteText(WindowRule);
  WriteLine(marked ? mark : NoMark);
}

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

void DrawData(int row, int rowColour, std::string_view data, const LineCheck& check) {
  MoveCursor(DataFieldColumn, row);
  if (row != CurrentLineRow || check.DataWellFormed()) {
    SetTextColor(rowColour);
    WriteDataText(data);
    return;
  }
  const bool lengthFault = check.length != DataLength::Right;
  for (size_t k = 0; k < data.size(); ++k) {
    SetTextColor(check.BadCharacter(k) ? LightRed : lengthFault ? LightGreen : White);
    WriteDataText(data.substr(k, 1));
  }
}

// The sum, or the faults as letters: C a bad character, D too long, d too short.
void DrawComputedChecksum(int row, int rowColour, const LineCheck& check) {
  MoveCursor(ComputedChecksumColumn, row);
  SetTextColor(rowColour);
  WriteText("(");
  if (check.DataWellFormed()) WriteNumber(check.sum);
  if (check.badCharacters != 0) WriteText("C");
  if (check.length == DataLength::TooLong) WriteText("D");
  if (check.length == DataLength::TooShort) WriteText("d");
  WriteText(")");
}

void DrawChecksumField(int row, std::string_view text, const LineCheck& check) {
  MoveCursor(ChecksumFieldColumn, row);
  if (row != CurrentLineRow) {
    SetTextColor(LightGrey);
    WriteDataText(text);
    return;
  }
  if (!check.typed) {
    for (char c : text) {
      SetTextColor(IsDecimalDigit(c) ? LightGreen : LightRed);
      WriteDataText(std::string_view(&c, 1));
    }
    return;
  }
  SetTextColor(check.Correct() ? White : LightBlue);
  WriteDataText(text);
}

}  // namespace

void DrawEditorScreen() {
  ShowBanner();
  DrawTitleRule(5, NarrowTitleRule, "Editor");
  DrawTitleRule(15, WideTitleRule, "Mensajes");
  DrawTitleRule(19, NarrowTitleRule, "Teclas");
  DrawKeyHelp(true);
}

void DrawKeyHelp(bool firstPage) {
  const std::string* page = firstPage ? FirstHelpPage : SecondHelpPage;
  MoveCursor(1, HelpRow);
  SetTextColor(White);
  for (int text = 0; text < 4; ++text) WriteLine(page[text]);
  // No line end after the last row: the screen must never scroll.
  WriteText(page[4]);
}

void DrawEditorPage(int currentLine, const LineTable& table) {
  for (int offset = -WindowRows; offset <= WindowRows; ++offset) {
    const int index = currentLine + offset;
    const int row = CurrentLineRow + offset;
    if (index >= 1 && index <= table.count) {
      DrawListingLine(row, LineText(table, index));
    } else {
      MoveCursor(1, row);
      ClearToEndOfLine();
    }
  }
  SetTextColor(LightGrey);
  DrawWindowRule(CurrentLineRow - WindowRows - 1, currentLine - WindowRows > 1, UpMark);
  DrawWindowRule(CurrentLineRow + WindowRows + 1, currentLine + WindowRows < table.count, DownMark);
}

void DrawListingLine(int row, std::string_view lineText) {
  const ListingFields fields = SplitStoredLine(lineText);
  const LineCheck check = CheckLine(fields);
  MoveCursor(1, row);
  ClearToEndOfLine();
  const int rowColour = row == CurrentLineRow ? White : LightGrey;
  SetTextColor(rowColour);
  WriteDataText(fields.number, 6);
  WriteText("   ");
  DrawData(row, rowColour, fields.data, check);
  DrawComputedChecksum(row, rowColour, check);
  DrawChecksumField(row, fields.checksum, check);
}
