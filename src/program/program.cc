#include "program/program.h"

#include "banner/banner.h"
#include "batch/batch_run.h"
#include "batch/check.h"
#include "batch/scan.h"
#include "batch/tap.h"
#include "console/plain_output.h"
#include "dialogues/numbering_dialogue.h"
#include "dialogues/recovery_question.h"
#include "editor/editor.h"
#include "editor/editor_screen.h"
#include "files/file_names.h"
#include "listing/line_table.h"
#include "listing/loader.h"
#include "listing/recovery.h"
#include "program/command_line.h"
#include "program/options.h"
#include "program/usage.h"

namespace {

// Owned by the program run; the loader fills it, the editor edits it in place.
LineTable lineTable;

// The lines the editor opens on: the listing's, or those a run before left unsaved in the
// recovery file; or the run's end instead.
std::optional<RunEnd> LoadLines(const std::string& name, bool recovered, uint32_t seed) {
  const std::string backupName = DerivedFileName(name, ".bak");
  const bool exists = GetFileKind(name) != FileKind::Missing;
  if (!recovered) return LoadListingOnScreen(name, backupName, lineTable, seed);
  // The listing's typing is backed up as at any start before the recovered lines may replace it.
  if (exists)
    if (const std::optional<IoFailure> failure = BackUpListing(name, backupName))
      return EndByFailure(*failure);
  return LoadListingOnScreen(RecoveryFileName(name), "", lineTable, seed);
}

RunEnd RunOnScreen(const CommandLine& commandLine) {
  // Without a terminal the editor would work blind: the forms for scripts are for that.
  if (!commandLine.files.empty() && !HasTerminal()) {
    PrintLine("gravix: hace falta un terminal de 80x25 caracteres; para scripts: --check, --tap",
              PlainStream::Errors);
    return {RunEnd::Exit, FinishBatch(BatchMisuse)};
  }
  InitConsole();
  HideCursor();
  const uint32_t seed = ClockSeed();
  ShowBanner();
  const bool typingNew = commandLine.mode == RunMode::New;
  ListingUse use = typingNew ? ListingUse::Create : ListingUse::Edit;
  bool keepsRecovery = false, recoverable = false;
  if (commandLine.files.size() == 1) {
    const std::string& name = commandLine.files[0];
    // A second GRAVIX on the listing keeps no recovery file and asks nothing about the first's.
    keepsRecovery = ClaimRecovery(name);
    recoverable = keepsRecovery && HasRecovery(name);
    // A listing never saved may live on only in its recovery file: its first save creates it.
    if (recoverable && GetFileKind(name) == FileKind::Missing) use = ListingUse::Create;
  }
  const ListingName listing = GetInputFileName(commandLine.files, use);
  if (listing.end) return *listing.end;
  if (!EnsureConsoleSize())
    return PlainFatalError("La ventana del terminal es menor de 80x25 caracteres");
  const bool exists = GetFileKind(listing.name) != FileKind::Missing;
  if (exists) {
    // A backup that could not be written is found out before anything is asked.
    const std::string backupName = DerivedFileName(listing.name, ".bak");
    if (const ListingFault fault = CheckBackupFile(backupName); fault != ListingFault::None)
      return FatalError(ListingFaultText(fault, backupName));
  }
  bool recovered = false;
  if (recoverable) {
    const RecoveryAnswer answer = AskToRecover(RecoveryFileName(listing.name));
    if (answer.end) return *answer.end;
    if (!answer.recover) RemoveRecovery(listing.name);
    recovered = answer.recover;
  }

  // A new listing has nothing to load and nothing to back up: the editor starts empty.
  const FileStamp loaded = GetFileStamp(listing.name);
  if (recovered || !typingNew)
    if (const std::optional<RunEnd> end = LoadLines(listing.name, recovered, seed)) return *end;
  DrawEditorScreen();
  if (const std::optional<RunEnd> end =
          RunEditor({listing.name, loaded, keepsRecovery}, lineTable)) {
    if (end->kind != RunEnd::Signal) return *end;
    // Ended by a signal once the work was put aside: the screen goes as at a normal end, so
    // the shell's prompt comes below.
    SetTextColor(LightGrey);
    ShowCursor();
    ClearScreen();
    return *end;
  }

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
    case RunMode::Scan:
      return Plain(ScanListing({commandLine.files.begin(), commandLine.files.end() - 1},
                               commandLine.files.back()));
    case RunMode::Tap:
      return Plain(CompileListing({commandLine.tapAnswers[0], commandLine.tapAnswers[1],
                                   commandLine.tapAnswers[2], commandLine.startAddress},
                                  commandLine.files[0]));
    default:
      return RunOnScreen(commandLine);
  }
}
