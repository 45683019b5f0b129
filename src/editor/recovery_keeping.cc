#include "editor/recovery_keeping.h"

#include "listing/recovery.h"
#include "listing/save_listing.h"

namespace {

// Long enough to tell a pause from typing.
constexpr int IdleMilliseconds = 1000;

void UpdateRecovery(EditorState& editor) {
  StoreCurrentLine(editor);
  // A line Insert added and nothing typed into yet is no change.
  const int lines = editor.lines.count - (IsStrayLine(editor) ? 1 : 0);
  KeepRecovery(editor.fileName, ListingText(editor.lines, lines));
  editor.recoveryDue = editor.lineEdited = false;
}

}  // namespace

void KeepRecoveryWhileIdle(EditorState& editor) {
  if (!editor.keepsRecovery) return;
  if (editor.recoveryDue) {
    if (!WaitForKey(0)) UpdateRecovery(editor);
  } else if (editor.lineEdited && !WaitForKey(IdleMilliseconds)) {
    UpdateRecovery(editor);
  }
}

RunEnd PutWorkAside(EditorState& editor, RunEnd end) {
  if (editor.keepsRecovery) UpdateRecovery(editor);
  return end;
}

void ForgetRecovery(EditorState& editor) {
  if (editor.keepsRecovery) RemoveRecovery(editor.fileName);
  editor.recoveryDue = editor.lineEdited = false;
}
