#include "program/program.h"

#include "banner/banner.h"
#include "batch/batch_run.h"
#include "batch/check.h"
#include "batch/tap.h"
#include "dialogues/numbering_dialogue.h"
#include "editor/editor.h"
#include "editor/editor_screen.h"
#include "files/file_names.h"
#include "listing/line_table.h"
#include "program/command_line.h"
#include "program/options.h"
#include "program/usage.h"

namespace {

// Owned by the program run; the loader fills it, the editor edits it in place.
LineTable lineTable;

RunEnd RunOnScreen(const CommandLine& commandLine) {
  InitConsole();
  HideCursor();
  const uint32_t seed = ClockSeed();
  ShowBanner();
  const bool typingNew = commandLine.mode == RunMode::New;
  const ListingName listing =
      GetInputFileName(commandLine.files, typingNew ? ListingUse::Create : ListingUse::Edit);
  if (listing.end) return *listing.end;
  if (!EnsureConsoleSize())
    return FatalError("La ventana del terminal es menor de 80x25 caracteres");

  // A new listing has nothing to load and nothing to back up: the editor starts empty.
  const FileStamp loaded = GetFileStamp(listing.name);
  if (!typingNew) {
    // A backup that could not be written is found out before anything is asked.
    const std::string backupName = DerivedFileName(listing.name, ".bak");
    if (const ListingFault fault = CheckBackupFile(backupName); fault != ListingFault::None)
      return FatalError(ListingFaultText(fault, backupName));
    if (const std::optional<RunEnd> end = LoadListingOnScreen(listing.name, lineTable, seed))
      return *end;
  }
  DrawEditorScreen();
  if (const std::optional<RunEnd> end = RunEditor(listing.name, loaded, lineTable)) return *end;

  FreeLineTable(lineTable);
  SetTextColor(LightGrey);
  ShowCursor();
  ClearScreen();
  return {RunEnd::Exit, 0};
}

RunEnd Plain(int status) { return {RunEnd::Exit, status}; }

}  // namespace

RunEnd RunGravix(const std::vector<std::string>& arguments) {
  const CommandLine commandLine = ParseCommandLine(arguments);
  const bool plain = commandLine.mode == RunMode::Check || commandLine.mode == RunMode::Tap;
  if (plain && commandLine.files.size() > 1) {
    PrintError("Demasiados parametros");
    return Plain(FinishBatch(BatchListingFault));
  }
  switch (commandLine.mode) {
    case RunMode::Help:
      return Plain(PrintHelp());
    case RunMode::Version:
      return Plain(PrintVersion());
    case RunMode::Misuse:
      return Plain(PrintMisuse(commandLine.misuse));
    case RunMode::Check:
      return Plain(CheckListing(commandLine.files[0]));
    case RunMode::Tap:
      return Plain(CompileListing(
          {commandLine.tapAnswers[0], commandLine.tapAnswers[1], commandLine.tapAnswers[2]},
          commandLine.files[0]));
    default:
      return RunOnScreen(commandLine);
  }
}
