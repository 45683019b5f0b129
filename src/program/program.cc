#include "program/program.h"

#include "banner/banner.h"
#include "console/console.h"
#include "editor/editor.h"
#include "editor/editor_screen.h"
#include "listing/line_table.h"
#include "listing/loader.h"
#include "platform/platform.h"
#include "program/command_line.h"
#include "program/options.h"
#include "program/usage.h"

namespace {

// Owned by the program run; the loader fills it, the editor edits it in place.
LineTable lineTable;

}  // namespace

void RunGravix(const std::vector<std::string>& arguments) {
  InitConsole();
  HideCursor();
  LoadBudget budget{0, ClockSeed()};
  ShowBanner();
  const CommandLine commandLine = ParseCommandLine(arguments);
  const bool typingNew = commandLine.mode == RunMode::New;
  const std::string inputFileName =
      typingNew ? GetNewFileName(commandLine.files) : GetInputFileName(commandLine.files);
  if (!EnsureConsoleSize()) FatalError("La ventana del terminal es menor de 80x25 caracteres");

  // A new listing has nothing to load and nothing to back up: the editor starts empty.
  if (!typingNew) {
    budget.freeBytes = FreeMemoryBytes();
    LoadListing(inputFileName, lineTable, budget);
  }
  DrawEditorScreen();
  RunEditor(inputFileName, lineTable);

  FreeLineTable(lineTable);
  SetTextColor(LightGrey);
  ShowCursor();
  ClearScreen();
  EndRun(0);
}
