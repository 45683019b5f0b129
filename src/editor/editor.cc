#include "editor/editor.h"

#include <algorithm>
#include <string>

#include "dialogues/compile_dialogue.h"
#include "dialogues/message_area.h"
#include "editor/editor_screen.h"
#include "editor/editor_state.h"
#include "editor/recovery_keeping.h"
#include "editor/save_command.h"
#include "input/line_input.h"
#include "input/yes_no.h"
#include "typo_finder/typo_finder.h"

namespace {

constexpr int LinesPerPage = 7;
constexpr uint8_t CtrlYKey = 25;
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
    NoteTableChanged(editor);
    editor.appendedLine = editor.currentLine = editor.lines.count;
    ShowCurrentLine(editor);
  }
  editor.checksumFieldActive = false;
  editor.cursorColumn = DataFieldColumn;
}

// Row 10 follows every change of a character; the recovery file follows soon after.
void ShowEditedLine(EditorState& editor) {
  NoteLineEdited(editor);
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
  ShowEditedLine(editor);
}

void DeleteUnderCursor(EditorState& editor) {
  std::string& text = FieldText(editor);
  if (CursorPosition(editor) >= text.size()) return;
  text.erase(CursorPosition(editor), 1);
  ShowEditedLine(editor);
}

void DeleteBeforeCursor(EditorState& editor) {
  if (editor.cursorColumn <= FieldStart(editor)) return;
  FieldText(editor).erase(CursorPosition(editor) - 1, 1);
  --editor.cursorColumn;
  ShowEditedLine(editor);
}

std::optional<RunEnd> GoToLine(EditorState& editor) {
  StoreCurrentLine(editor);
  SetTextColor(Yellow);
  int line = 0;
  while (line < 1 || line > editor.lines.count) {
    MoveCursor(PromptColumn, MessageRow);
    WriteText("Ir a linea [1-" + std::to_string(editor.lines.count) + "]: ");
    const TypedAnswer answer = InputLine(4, InputMode::DigitsOnly, {.escapeCancels = true});
    if (answer.end) return answer.end;
    ClearMessageRow();
    if (answer.cancelled) return std::nullopt;
    line = TextToInteger(answer.text).value_or(0);
  }
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

// Ctrl+Y: the current line goes, once the user says so, and the lines after it move up one
// number: a line typed twice, or one that belongs to another listing, leaves the tape.
std::optional<RunEnd> DeleteCurrentLine(EditorState& editor) {
  const std::string question = "Borrar la linea " + std::to_string(editor.currentLine) + " (S/N): ";
  SetTextColor(Yellow);
  MoveCursor(CentredColumn(question), MessageRow);
  WriteText(question);
  const Key answer = GetYesNoKey(CtrlC::IsAKey, Escape::Cancels);
  if (answer.end) return answer.end;
  ClearMessageRow();
  if (!IsYes(answer)) return std::nullopt;
  RemoveLine(editor.lines, editor.currentLine);
  for (int line = editor.currentLine; line <= editor.lines.count; ++line) {
    ListingFields fields = SplitStoredLine(LineText(editor.lines, line));
    fields.number = std::to_string(line);
    SetLineText(editor.lines, line, JoinListingLine(fields));
  }
  editor.appendedLine = 0;
  NoteTableChanged(editor);
  editor.currentLine = std::clamp(editor.currentLine, 1, std::max(editor.lines.count, 1));
  ShowCurrentLine(editor);
  return std::nullopt;
}

// One turn of the command loop: one key and what it does. Done (none) or the run's end.
struct Turn {
  bool leave = false;
  std::optional<RunEnd> end = std::nullopt;
};

Turn TakeKey(EditorState& editor) {
  MoveCursor(editor.cursorColumn, CurrentLineRow);
  ShowCursor();
  KeepRecoveryWhileIdle(editor);
  Key key = GetKey();
  if (key.end) return {false, key.end};
  HideCursor();
  if (editor.hintShown) {
    ClearMessageRow();
    editor.hintShown = false;
  }
  if (key.character >= 'a' && key.character <= 'z') key.character -= 32;
  if (key.character == CtrlCKey && !key.extended) key.character = 'X';  // the usual way out
  const char c = static_cast<char>(key.character);
  if (!key.extended && (c == 'Q' || c == 'S' || c == 'X')) {
    const SaveOutcome outcome = SaveCommand(editor, c);
    return {outcome.leave, outcome.end};
  }
  if (!key.extended && c == EnterKey) return {false, CompileCommand(editor)};
  if (!key.extended && key.character == CtrlYKey && HasLines(editor))
    return {false, DeleteCurrentLine(editor)};
  if (!key.extended && c == 'H') {
    editor.firstHelpPage = !editor.firstHelpPage;
    DrawKeyHelp(editor.firstHelpPage);
  } else if (key.extended && key.character == InsertScan) {
    AppendNewLine(editor);
  } else if (HasLines(editor)) {
    // Every other key works on a line.
    if (!key.extended) return {false, CharacterCommand(editor, c)};
    ExtendedKeyCommand(editor, key.character);
  }
  return {};
}

}  // namespace

std::optional<RunEnd> RunEditor(const EditorFile& file, LineTable& table) {
  EditorState editor{file.name, table, file.loaded, file.keepsRecovery};
  // An end signal waits for the work to be put aside; the program's top then ends the run.
  HoldEndSignals(true);
  ShowCurrentLine(editor);
  // A listing with no lines yet opens on line 1, ready for its digits.
  if (!HasLines(editor)) AppendNewLine(editor);
  for (;;) {
    const Turn turn = TakeKey(editor);
    if (turn.end) return PutWorkAside(editor, *turn.end);
    if (turn.leave) {
      ForgetRecovery(editor);
      return std::nullopt;
    }
  }
}
