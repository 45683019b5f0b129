#pragma once
// What the editor keeps between keys, and the steps every command takes on it: the line under
// edit stored back, a line made current and shown, an appended line left empty taken away.

#include <string>

#include "editor/editor_screen.h"
#include "listing/line_format.h"
#include "listing/line_table.h"
#include "platform/platform.h"

// The working texts belong to currentLine and reach the table only through StoreCurrentLine.
struct EditorState {
  const std::string& fileName;
  LineTable& lines;
  FileStamp stamp;          // the listing file as last loaded or saved: a change is someone else's
  bool keepsRecovery;       // this run keeps the recovery file
  bool recoveryDue = true;  // the table may differ from the recovery file: bring it up to date
  bool lineEdited = false;  // the line under edit changed since the recovery file did
  int currentLine = 1;
  int appendedLine = 0;  // the last line Insert added, while it is the last
  int cursorColumn = DataFieldColumn;
  bool checksumFieldActive = false;
  bool firstHelpPage = true;
  bool hintShown = false;  // row 17 holds a hint until the next key
  ListingFields fields = {};
};

// An empty listing has no current line: the window stays empty and nothing is stored.
inline bool HasLines(const EditorState& editor) { return editor.lines.count > 0; }

int FieldStart(const EditorState& editor);
std::string& FieldText(EditorState& editor);
// Position of the cursor within the active field's text, from 0.
size_t CursorPosition(const EditorState& editor);
std::string WorkingLine(const EditorState& editor);

void StoreCurrentLine(EditorState& editor);
// The current line split into the working texts and shown with its window.
void ShowCurrentLine(EditorState& editor);
// The line Insert added is current until the editor leaves it. Left still without data and
// checksum it was a stray Insert and goes again, so it never reaches the saved listing or the
// compile check; left with anything typed it stays, an ordinary line from then on.
bool IsStrayLine(const EditorState& editor);
// True when a stray line went; the last line is then current.
bool LeaveAppendedLine(EditorState& editor);
void ChangeLine(EditorState& editor, int line);
// Every change of the line under edit, and of the table, goes through these.
inline void NoteLineEdited(EditorState& editor) { editor.lineEdited = true; }
inline void NoteTableChanged(EditorState& editor) { editor.recoveryDue = true; }
