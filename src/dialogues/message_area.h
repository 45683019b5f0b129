#pragma once
// The editor screen's message area, rows 16 to 18 between the "Mensajes" and "Teclas" rules:
// the editor's prompts and notices use row 17, the compile dialogue all three rows.

#include <string>
#include <string_view>

#include "input/keys.h"
#include "platform/platform.h"

constexpr int FirstMessageRow = 16;
constexpr int MessageRow = 17;
constexpr int LastMessageRow = 18;

void ClearMessageRow(int row = MessageRow);
void ClearMessageRows();

// The column that centres text on the row, as the fixed notices stand.
int CentredColumn(std::string_view text);

// A notice at column of row 17; then waits for one key, clears the row, and hands the key
// back. A key that carries the run's end leaves the screen as it is.
Key ShowNoticeAndWait(int column, std::string_view text, int colour = Yellow);
Key ShowCentredNotice(std::string_view text, int colour = Yellow);

// "No se ha podido <action>: disco lleno. Pulsa una tecla." in light red, centred; the editor
// goes on after the key.
Key ShowFailureNotice(std::string_view action, IoFailure failure);
