#include "editor/editor_state.h"

#include <algorithm>

int FieldStart(const EditorState& editor) {
  return editor.checksumFieldActive ? ChecksumFieldColumn : DataFieldColumn;
}

std::string& FieldText(EditorState& editor) {
  return editor.checksumFieldActive ? editor.fields.checksum : editor.fields.data;
}

size_t CursorPosition(const EditorState& editor) {
  return static_cast<size_t>(editor.cursorColumn - FieldStart(editor));
}

std::string WorkingLine(const EditorState& editor) { return JoinListingLine(editor.fields); }

void StoreCurrentLine(EditorState& editor) {
  if (HasLines(editor)) SetLineText(editor.lines, editor.currentLine, WorkingLine(editor));
}

void ShowCurrentLine(EditorState& editor) {
  if (HasLines(editor)) editor.fields = SplitStoredLine(LineText(editor.lines, editor.currentLine));
  DrawEditorPage(editor.currentLine, editor.lines);
  editor.cursorColumn = FieldStart(editor);
}

bool IsStrayLine(const EditorState& editor) {
  return editor.appendedLine != 0 && editor.fields.data.empty() && editor.fields.checksum.empty();
}

bool LeaveAppendedLine(EditorState& editor) {
  const bool stray = IsStrayLine(editor);
  editor.appendedLine = 0;
  if (!stray) return false;
  DropLastLine(editor.lines);
  NoteTableChanged(editor);
  editor.currentLine = std::max(editor.lines.count, 1);
  return true;
}

void ChangeLine(EditorState& editor, int line) {
  StoreCurrentLine(editor);
  if (editor.lineEdited) NoteTableChanged(editor);
  if (line != editor.currentLine) LeaveAppendedLine(editor);
  editor.currentLine = line;
  ShowCurrentLine(editor);
}
