#include "shell/program.h"

#include "console/console.h"
#include "editor/editor.h"
#include "editor/editor_screen.h"
#include "listing/line_table.h"
#include "listing/loader.h"
#include "platform/platform.h"
#include "shell/banner.h"
#include "shell/command_line.h"

namespace {

// Owned by the program run; the loader fills it, the editor edits it in place.
LineTable lineTable;

}  // namespace

void RunGravix(const std::vector<std::string>& arguments) {
  InitConsole();
  HideCursor();
  LoadBudget budget{0, ClockSeed()};
  ShowBanner();
  const std::string inputFileName = GetInputFileName(arguments);
  if (!EnsureConsoleSize()) FatalError("La ventana del terminal es menor de 80x25 caracteres");

  // A run starts with an empty table.
  FreeLineTable(MaxLines, lineTable);
  lineTable.count = 0;
  budget.freeBytes = FreeMemoryBytes();
  LoadListing(inputFileName, lineTable, budget);
  DrawEditorScreen();
  RunEditor(inputFileName, lineTable.count, lineTable);

  FreeLineTable(lineTable.count, lineTable);
  SetTextColor(LightGrey);
  ShowCursor();
  ClearScreen();
  EndRun(0);
}
