#include "dialogues/message_area.h"

#include "console/console.h"

void ClearMessageRow(int row) {
  MoveCursor(1, row);
  ClearToEndOfLine();
}

void ClearMessageRows() {
  for (int row = FirstMessageRow; row <= LastMessageRow; ++row) ClearMessageRow(row);
}

int CentredColumn(std::string_view text) {
  const int column = (ScreenColumns - static_cast<int>(text.size())) / 2;
  return column < 1 ? 1 : column;
}

Key ShowNoticeAndWait(int column, std::string_view text, int colour) {
  ClearMessageRow();
  SetTextColor(colour);
  MoveCursor(column, MessageRow);
  WriteText(text);
  const Key key = GetKey();
  if (!key.end) ClearMessageRow();
  return key;
}

Key ShowCentredNotice(std::string_view text, int colour) {
  return ShowNoticeAndWait(CentredColumn(text), text, colour);
}

Key ShowFailureNotice(std::string_view action, IoFailure failure) {
  std::string reason;
  switch (KindOfFailure(failure)) {
    case FailureKind::DiskFull:
      reason = "disco lleno";
      break;
    case FailureKind::NoPermission:
      reason = "sin permiso";
      break;
    case FailureKind::Other:
      reason = "error " + std::to_string(failure.code);
  }
  return ShowCentredNotice(
      "No se ha podido " + std::string(action) + ": " + reason + ". Pulsa una tecla.", LightRed);
}
