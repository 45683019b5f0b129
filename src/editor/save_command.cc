#include "editor/save_command.h"

#include "dialogues/message_area.h"
#include "editor/recovery_keeping.h"
#include "input/yes_no.h"
#include "listing/save_listing.h"

namespace {

constexpr int QuestionColumn = 23;
constexpr int NoticeColumn = 16;
constexpr std::string_view ChangedOutside =
    "El fichero ha cambiado fuera de GRAVIX. Guardar encima (S/N): ";

// Someone else wrote the file since GRAVIX last read or wrote it: only S saves over that.
Key AskToSaveOver() {
  ClearMessageRow();
  SetTextColor(Yellow);
  MoveCursor(CentredColumn(ChangedOutside), MessageRow);
  WriteText(ChangedOutside);
  const Key answer = GetYesNoKey(CtrlC::IsAKey, Escape::Cancels);
  if (!answer.end) ClearMessageRow();
  return answer;
}

}  // namespace

SaveOutcome SaveCommand(EditorState& editor, char command) {
  StoreCurrentLine(editor);
  if (LeaveAppendedLine(editor) && command == 'S') ShowCurrentLine(editor);
  if (command == 'X') {
    SetTextColor(Yellow);
    MoveCursor(QuestionColumn, MessageRow);
    WriteText("Salir SIN guardar cambios (S/N): ");
    const Key answer = GetYesNoKey(CtrlC::IsAKey, Escape::Cancels);
    if (answer.end) return {false, answer.end};
    if (answer.character == EscapeKey) {  // neither: back to the editor
      ClearMessageRow();
      return {false};
    }
    WriteChar(IsYes(answer) ? 'S' : 'N');
    if (IsYes(answer)) {
      ClearMessageRow();
      return {true};
    }
  }
  const bool leaving = command != 'S';
  // Nothing to write: saying it was saved would be a lie, and an empty file helps no one.
  if (editor.lines.count == 0)
    return {
        leaving,
        ShowCentredNotice("El listado esta vacio: no se ha guardado nada. Pulsa una tecla.").end};
  if (GetFileStamp(editor.fileName) != editor.stamp) {
    const Key answer = AskToSaveOver();
    if (answer.end || !IsYes(answer)) return {false, answer.end};
  }
  if (const std::optional<IoFailure> failure = SaveListing(editor.lines, editor.fileName))
    return {false, ShowFailureNotice("guardar", *failure).end};
  editor.stamp = GetFileStamp(editor.fileName);
  ForgetRecovery(editor);
  if (command != 'Q') {
    const Key key =
        ShowNoticeAndWait(NoticeColumn, "Los cambios han sido guardados. Pulsa una tecla.");
    if (key.end) return {false, key.end};
  }
  ClearMessageRow();
  return {leaving};
}
