#include "editor/editor.h"

#include <algorithm>
#include <string>

#include "dialogues/compile_dialogue.h"
#include "dialogues/message_area.h"
#include "editor/editor_screen.h"
#include "editor/editor_state.h"
#include "editor/save_command.h"
#include "input/line_input.h"
#include "typo_finder/typo_finder.h"

namespace {

constexpr int LinesPerPage = 7;
constexpr int PromptColumn = 28;
constexpr int HintColumn = 3;

// Insert: a new empty line after the last one, current, ready for its digits. Refused quietly
// when the table is full or memory short.
void AppendNewLine(EditorState& editor) {
  if (!IsStrayLine(editor)) {
    StoreCurrentLine(editor);
    LeaveAppendedLine(editor);
    const std::string number = std::to_string(editor.lines.count + 1);
    if (!AppendLine(editor.lines, JoinListingLine(number, "", ""), FreeMemoryBytes())) return;
    editor.appendedLine = editor.currentLine = editor.lines.count;
    ShowCurrentLine(editor);
  }
  editor.checksumFieldActive = false;
  editor.cursorColumn = DataFieldColumn;
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

std::optional<RunEnd> GoToLine(EditorState& editor) {
  StoreCurrentLine(editor);
  SetTextColor(Yellow);
  ShowCursor();
  int line = 0;
  while (line < 1 || line > editor.lines.count) {
    MoveCursor(PromptColumn, MessageRow);
    WriteText("Ir a linea [1-" + std::to_string(editor.lines.count) + "]: ");
    const TypedAnswer answer = InputLine(4, InputMode::DigitsOnly);
    if (answer.end) return answer.end;
    ClearMessageRow();
    line = TextToInteger(answer.text).value_or(0);
  }
  HideCursor();
  ChangeLine(editor, line);
  return std::nullopt;
}

// The hint reads the line as shown, edits not yet stored included.
void ShowHint(EditorState& editor) {
  SetTextColor(Yellow);
  MoveCursor(HintColumn, MessageRow);
  WriteDataText(HintText(FindTypos(editor.fields.data, editor.fields.checksum)));
  editor.hintShown = true;
}

std::optional<RunEnd> CompileCommand(EditorState& editor) {
  StoreCurrentLine(editor);
  LeaveAppendedLine(editor);
  const std::optional<RunEnd> end = CompileTape(editor.currentLine, editor.lines, editor.fileName);
  if (end) return end;
  // Only a line that exists can become current.
  if (editor.currentLine < 1 || editor.currentLine > editor.lines.count) editor.currentLine = 1;
  ShowCurrentLine(editor);
  return std::nullopt;
}

void ExtendedKeyCommand(EditorState& editor, uint8_t code) {
  const int line = editor.currentLine;
  const int count = editor.lines.count;
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

std::optional<RunEnd> CharacterCommand(EditorState& editor, char c) {
  switch (c) {
    case BackspaceKey:
      DeleteBeforeCursor(editor);
      break;
    case TabKey:
      editor.checksumFieldActive = !editor.checksumFieldActive;
      editor.cursorColumn = FieldStart(editor);
      break;
    case 'G':
      return GoToLine(editor);
    case 'P':
      ShowHint(editor);
      break;
    default:
      InsertCharacter(editor, c);
  }
  return std::nullopt;
}

}  // namespace

std::optional<RunEnd> RunEditor(const std::string& fileName, const FileStamp& loaded,
                                LineTable& table) {
  EditorState editor{fileName, table, loaded};
  ShowCurrentLine(editor);
  for (;;) {
    MoveCursor(editor.cursorColumn, CurrentLineRow);
    ShowCursor();
    Key key = GetKey();
    if (key.end) return key.end;
    HideCursor();
    if (editor.hintShown) {
      ClearMessageRow();
      editor.hintShown = false;
    }
    if (key.character >= 'a' && key.character <= 'z') key.character -= 32;
    if (key.character == CtrlCKey && !key.extended) key.character = 'X';  // the usual way out
    const char c = static_cast<char>(key.character);
    std::optional<RunEnd> end;
    if (!key.extended && (c == 'Q' || c == 'S' || c == 'X')) {
      const SaveOutcome outcome = SaveCommand(editor, c);
      if (outcome.end) return outcome.end;
      if (outcome.leave) return std::nullopt;
    } else if (!key.extended && c == EnterKey) {
      end = CompileCommand(editor);
    } else if (!key.extended && c == 'H') {
      editor.firstHelpPage = !editor.firstHelpPage;
      DrawKeyHelp(editor.firstHelpPage);
    } else if (key.extended && key.character == InsertScan) {
      AppendNewLine(editor);
    } else if (HasLines(editor)) {
      // Every other key works on a line.
      if (key.extended)
        ExtendedKeyCommand(editor, key.character);
      else
        end = CharacterCommand(editor, c);
    }
    if (end) return end;
  }
}
