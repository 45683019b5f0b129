// The whole loader on any file (the input after its first line feed), its dialogues answered by
// the keys before it, then by a fixed tail; an odd number of them makes memory run out at 40
// lines, none leaves no backup from before. Then again on what a save of the table would write.
// The backup holds the file's lines, split here on their own, each with a line feed; one that
// exists stays as it was when the file is exactly what a save of the table writes.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "listing/loader.h"
#include "program_checks.h"

namespace {

const std::string BackupName = FuzzDirectory() + "/juego.bak";

std::string SavedForm(const LineTable& table) {
  std::string saved;
  for (int index = 1; index <= table.count; ++index) saved.append(LineText(table, index)) += '\n';
  return saved;
}

// Loads file, as juego.txt, and checks the table, the backup and what was shown.
void LoadAndCheck(std::string_view file, MemoryConsole& screen, LineTable& table,
                  LoadBudget budget) {
  const std::string listingName = FuzzDirectory() + "/juego.txt";
  WriteWholeFile(listingName, file);
  std::optional<std::string> before;
  if (std::filesystem::exists(BackupName)) before = ReadWholeFile(BackupName);
  // A half-typed number cleared, one no line exceeds, then N to the gap it opens.
  for (size_t unit = 0; unit < file.size() / MinRawLineLength + 3; ++unit)
    screen.Keys("\b\b\b\b9999\rN");
  // Keys the tail does not answer, or an end (none on a good file system), throw: a finding.
  LoadListing(listingName, table, budget);

  // Lines end at a line feed, a carriage return or both; a last line without an end counts.
  // A byte-order mark opening the file is copied but no part of line 1.
  std::string backup, line;
  int splitLines = 0;
  size_t mark = file.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  for (size_t i = 0; i <= file.size(); ++i) {
    if (i < file.size() && file[i] != '\n' && file[i] != '\r') {
      line += file[i];
    } else if (i < file.size() || !line.empty()) {
      backup += line + "\n";
      splitLines += line.size() - std::exchange(mark, 0) >= MinRawLineLength;
      line.clear();
      i += file.substr(i, 2) == "\r\n";
    }
  }
  if (before && file == SavedForm(table)) backup = *before;
  Check(ReadWholeFile(BackupName) == backup);
  CheckStoredLines(table);
  Check(table.count >= splitLines || screen.Written().find("Memoria llena") != std::string::npos);
  Check(OnlyOwnControlBytes(screen.Written()) && screen.MovesOutside() == 0 &&
        !screen.CursorVisible());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  const size_t split = std::min(input.find('\n'), input.size());
  const std::string_view answers = input.substr(0, split),
                         file = input.substr(std::min(split + 1, size));
  MemoryConsole screen;
  screen.Keys(answers);
  HideCursor();
  static auto table = std::make_unique<LineTable>();
  std::filesystem::remove(BackupName);
  if (!answers.empty()) WriteWholeFile(BackupName, "typed before\n");
  const LoadBudget budget{answers.size() % 2 ? 40 * LineBlockSize : int64_t{1} << 30, 1};
  LoadAndCheck(file, screen, *table, budget);
  const std::string saved = SavedForm(*table);
  FreeLineTable(*table);
  LoadAndCheck(saved, screen, *table, budget);
  FreeLineTable(*table);
  return 0;
}
