#include "program/program.h"

#include "banner/banner.h"
#include "batch/batch_run.h"
#include "batch/check.h"
#include "batch/scan.h"
#include "batch/tap.h"
#include "console/console.h"
#include "editor/editor.h"
#include "editor/editor_screen.h"
#include "listing/line_table.h"
#include "listing/loader.h"
#include "platform/platform.h"
#include "program/command_line.h"
#include "program/options.h"
#include "program/plain_forms.h"
#include "program/usage.h"

namespace {

// Owned by the program run; the loader fills it, the editor edits it in place.
LineTable lineTable;

[[noreturn]] void RunOnScreen(const CommandLine& commandLine) {
  InitConsole();
  HideCursor();
  LoadBudget budget{0, ClockSeed()};
  ShowBanner();
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

}  // namespace

int RunGravix(const std::vector<std::string>& arguments) {
  const CommandLine commandLine = ParseCommandLine(arguments);
  const bool plain = commandLine.mode == RunMode::Check || commandLine.mode == RunMode::Tap;
  if (plain && commandLine.files.size() > 1) {
    PrintError("Demasiados parametros");
    return FinishBatch(BatchListingFault);
  }
  switch (commandLine.mode) {
    case RunMode::Help:
      return PrintHelp();
    case RunMode::Version:
      return PrintVersion();
    case RunMode::Misuse:
      return PrintMisuse(commandLine.misuse);
    case RunMode::Check:
      return CheckListing(commandLine.files[0]);
    case RunMode::Scan:
      return ScanListing({commandLine.files.begin(), commandLine.files.end() - 1},
                         commandLine.files.back());
    case RunMode::Tap:
      return CompileListing(
          {commandLine.tapAnswers[0], commandLine.tapAnswers[1], commandLine.tapAnswers[2]},
          commandLine.files[0]);
    default:
      RunOnScreen(commandLine);
  }
}
