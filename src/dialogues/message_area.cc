#include "dialogues/message_area.h"

#include "console/console.h"

void ClearMessageRow(int row) {
  MoveCursor(1, row);
  ClearToEndOfLine();
}

void ClearMessageRows() {
  for (int row = FirstMessageRow; row <= LastMessageRow; ++row) ClearMessageRow(row);
}

Key ShowNoticeAndWait(int column, std::string_view text) {
  SetTextColor(Yellow);
  MoveCursor(column, MessageRow);
  WriteText(text);
  const Key key = GetKey();
  if (!key.end) ClearMessageRow();
  return key;
}
