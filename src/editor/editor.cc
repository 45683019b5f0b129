#include "editor/editor.h"

#include <string>

#include "console/console.h"
#include "editor/editor_screen.h"
#include "editor/save_listing.h"
#include "input/keys.h"
#include "input/line_input.h"
#include "input/yes_no.h"
#include "tape/compile_tape.h"

namespace {

constexpr int LinesPerPage = 7;
constexpr int PromptColumn = 28;
constexpr int QuestionColumn = 23;
constexpr int NoticeColumn = 16;

// Everything the command loop keeps between keys. The working texts belong to currentLine and
// reach the table only through StoreCurrentLine.
struct EditorState {
  const std::string& fileName;
  int16_t lineCount;
  LineTable& lines;
  int32_t currentLine = 1;
  int cursorColumn = DataFieldColumn;
  bool checksumFieldActive = false;
  bool firstHelpPage = true;
  ListingFields fields = {};
};

// An empty listing has no current line: the window stays empty and nothing is stored.
bool HasLines(const EditorState& editor) { return editor.lineCount > 0; }

int FieldStart(const EditorState& editor) {
  return editor.checksumFieldActive ? ChecksumFieldColumn : DataFieldColumn;
}

std::string& FieldText(EditorState& editor) {
  return editor.checksumFieldActive ? editor.fields.checksum : editor.fields.data;
}

// Position of the cursor within the active field's text, from 0.
size_t CursorPosition(const EditorState& editor) {
  return static_cast<size_t>(editor.cursorColumn - FieldStart(editor));
}

std::string WorkingLine(const EditorState& editor) {
  return JoinListingLine(editor.fields.number, editor.fields.data, editor.fields.checksum);
}

void StoreCurrentLine(EditorState& editor) {
  if (HasLines(editor)) SetLineText(editor.lines, editor.currentLine, WorkingLine(editor));
}

void ShowCurrentLine(EditorState& editor) {
  if (HasLines(editor)) editor.fields = SplitStoredLine(LineText(editor.lines, editor.currentLine));
  DrawEditorPage(static_cast<int16_t>(editor.currentLine), editor.lineCount, editor.lines);
  editor.cursorColumn = FieldStart(editor);
}

void ChangeLine(EditorState& editor, int32_t line) {
  StoreCurrentLine(editor);
  editor.currentLine = line;
  ShowCurrentLine(editor);
}

void RedrawCurrentLine(const EditorState& editor) {
  DrawListingLine(CurrentLineRow, WorkingLine(editor));
}

void InsertCharacter(EditorState& editor, char c) {
  std::string& text = FieldText(editor);
  const bool fits = editor.checksumFieldActive
                        ? c >= '0' && c <= '9' && text.size() < MaxChecksumLength
                        : IsHexDigit(c) && text.size() < MaxDataLength;
  if (!fits) return;
  text.insert(CursorPosition(editor), 1, c);
  ++editor.cursorColumn;
  RedrawCurrentLine(editor);
}

void DeleteUnderCursor(EditorState& editor) {
  std::string& text = FieldText(editor);
  if (CursorPosition(editor) >= text.size()) return;
  text.erase(CursorPosition(editor), 1);
  RedrawCurrentLine(editor);
}

void DeleteBeforeCursor(EditorState& editor) {
  if (editor.cursorColumn <= FieldStart(editor)) return;
  FieldText(editor).erase(CursorPosition(editor) - 1, 1);
  --editor.cursorColumn;
  RedrawCurrentLine(editor);
}

void GoToLine(EditorState& editor) {
  StoreCurrentLine(editor);
  SetTextColor(Yellow);
  ShowCursor();
  int32_t line = 0;
  while (line < 1 || line > editor.lineCount) {
    MoveCursor(PromptColumn, MessageRow);
    WriteText("Ir a linea [1-" + std::to_string(editor.lineCount) + "]: ");
    const std::string answer = InputLine(4, InputMode::DigitsOnly);
    MoveCursor(1, MessageRow);
    ClearToEndOfLine();
    line = TextToInteger(answer).value_or(0);
  }
  HideCursor();
  ChangeLine(editor, line);
}

// Q, S and X: save (X asks first), then the notice for S and X.
void SaveCommand(EditorState& editor, char command) {
  StoreCurrentLine(editor);
  SetTextColor(Yellow);
  bool save = true;
  if (command == 'X') {
    MoveCursor(QuestionColumn, MessageRow);
    WriteText("Salir SIN guardar cambios (S/N): ");
    const bool leave = IsYes(GetYesNoKey());
    WriteChar(leave ? 'S' : 'N');
    save = !leave;
  }
  if (save) {
    SaveListing(editor.lineCount, editor.lines, editor.fileName);
    if (command != 'Q') {
      MoveCursor(NoticeColumn, MessageRow);
      WriteText("Los cambios han sido guardados. Pulsa una tecla.");
      GetKey();
    }
  }
  MoveCursor(1, MessageRow);
  ClearToEndOfLine();
}

void CompileCommand(EditorState& editor) {
  StoreCurrentLine(editor);
  CompileTape(editor.currentLine, editor.lineCount, editor.lines, editor.fileName);
  // Only a line that exists can become current.
  if (editor.currentLine < 1 || editor.currentLine > editor.lineCount) editor.currentLine = 1;
  ShowCurrentLine(editor);
}

void ExtendedKeyCommand(EditorState& editor, uint8_t code) {
  const int32_t line = editor.currentLine;
  const int32_t count = editor.lineCount;
  const int end = FieldStart(editor) + static_cast<int>(FieldText(editor).size());
  switch (code) {
    case HomeScan:
      editor.cursorColumn = FieldStart(editor);
      break;
    case EndScan:
      editor.cursorColumn = end;
      break;
    case LeftScan:
      if (editor.cursorColumn > FieldStart(editor)) --editor.cursorColumn;
      break;
    case RightScan:
      if (editor.cursorColumn < end) ++editor.cursorColumn;
      break;
    case UpScan:
      ChangeLine(editor, line == 1 ? count : line - 1);
      break;
    case DownScan:
      ChangeLine(editor, line == count ? 1 : line + 1);
      break;
    case PageUpScan:
      ChangeLine(editor, line - (LinesPerPage - 1) > 1 ? line - LinesPerPage : count);
      break;
    case PageDownScan:
      ChangeLine(editor, line + (LinesPerPage - 1) < count ? line + LinesPerPage : 1);
      break;
    case DeleteScan:
      DeleteUnderCursor(editor);
      break;
  }
}

void CharacterCommand(EditorState& editor, char c) {
  switch (c) {
    case BackspaceKey:
      DeleteBeforeCursor(editor);
      break;
    case TabKey:
      editor.checksumFieldActive = !editor.checksumFieldActive;
      editor.cursorColumn = FieldStart(editor);
      break;
    case 'G':
      GoToLine(editor);
      break;
    default:
      InsertCharacter(editor, c);
  }
}

}  // namespace

void RunEditor(const std::string& fileName, int16_t lineCount, LineTable& lines) {
  EditorState editor{fileName, lineCount, lines};
  ShowCurrentLine(editor);
  for (;;) {
    MoveCursor(editor.cursorColumn, CurrentLineRow);
    ShowCursor();
    Key key = GetKey();
    HideCursor();
    if (key.character >= 'a' && key.character <= 'z') key.character -= 32;
    if (key.character == CtrlCKey && !key.extended) key.character = 'X';  // the usual way out
    const char c = static_cast<char>(key.character);
    if (!key.extended && (c == 'Q' || c == 'S' || c == 'X')) {
      SaveCommand(editor, c);
      if (c != 'S') return;
    } else if (!key.extended && c == EnterKey) {
      CompileCommand(editor);
    } else if (!key.extended && c == 'H') {
      editor.firstHelpPage = !editor.firstHelpPage;
      DrawKeyHelp(editor.firstHelpPage);
    } else if (HasLines(editor)) {
      // Every other key works on a line.
      if (key.extended)
        ExtendedKeyCommand(editor, key.character);
      else
        CharacterCommand(editor, c);
    }
  }
}
