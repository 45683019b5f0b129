#pragma once
// The editor's fixed screen: banner, a window of seven listing lines around the current line
// (always in row 10), the message area (rows 16-18) and two pages of key help (rows 21-25).

#include <cstdint>
#include <string_view>

#include "listing/line_table.h"

constexpr int CurrentLineRow = 10;
constexpr int DataFieldColumn = 10;
constexpr int ComputedChecksumColumn = 62;
constexpr int ChecksumFieldColumn = 70;

void DrawEditorScreen();
void DrawKeyHelp(bool firstPage);
// Rows 6 to 14 for currentLine (1..count).
void DrawEditorPage(int currentLine, const LineTable& table);
// One listing line into one of rows 7 to 13; row 10 marks its faults character by character.
void DrawListingLine(int row, std::string_view lineText);
