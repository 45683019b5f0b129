// The whole loader on any file, answering its dialogues with the keys of the input's first line
// (up to the first line feed); the rest of the input is the file. After them a fixed tail
// answers every dialogue that may still come, so every load ends. An odd number of answer keys
// gives a budget of 40 lines, so "memory full" is reached as well.
//
// Checked: the backup is the file's lines, split here on their own, each with a line feed;
// every stored line holds at most 60 characters, splits and joins back to itself and carries
// its entry's number; every line long enough to split is stored unless the table filled;
// only the program's own control bytes reach the console; the cursor is hidden again.
#include <memory>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "listing/loader.h"
#include "program_checks.h"

namespace {

// Lines end at a line feed, a carriage return or both; a last line without an end counts.
std::vector<std::string> SplitLines(std::string_view file) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < file.size(); ++i) {
    const char c = file[i];
    if (c != '\n' && c != '\r') {
      line.push_back(c);
      open = true;
      continue;
    }
    if (c == '\r' && i + 1 < file.size() && file[i + 1] == '\n') ++i;
    lines.push_back(line);
    line.clear();
    open = false;
  }
  if (open) lines.push_back(line);
  return lines;
}

// Clears a half-typed line number, gives one no line can exceed, then says no to the gap that
// opens: one unit ends the dialogues of one line.
constexpr std::string_view AnswerUnit = "\b\b\b\b9999\rN";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  const size_t split = std::min(input.find('\n'), input.size());
  const std::string_view answers = input.substr(0, split);
  const std::string_view file = input.substr(std::min(split + 1, input.size()));

  const std::string listingName = FuzzDirectory() + "/juego.txt";
  const std::string backupName = FuzzDirectory() + "/juego.bak";
  WriteWholeFile(listingName, file);

  MemoryConsole screen;
  screen.Keys(answers);
  for (size_t unit = 0; unit < file.size() / MinRawLineLength + 3; ++unit) screen.Keys(AnswerUnit);
  HideCursor();
  static auto table = std::make_unique<LineTable>();
  table->count = 0;
  LoadBudget budget{answers.size() % 2 ? 40 * LineBlockSize : int64_t{1} << 30, 1};
  try {
    LoadListing(listingName, *table, budget);
  } catch (const KeysExhausted&) {
    Check(false);  // a dialogue that the tail does not end
  } catch (const ProgramEnd&) {
    Check(false);  // nothing on a good file system ends the run
  }

  std::string backup;
  for (const std::string& line : SplitLines(file)) backup += line + "\n";
  Check(ReadWholeFile(backupName) == backup);

  CheckStoredLines(*table);
  for (int index = 1; index <= table->count; ++index)
    Check(TextToInteger(SplitStoredLine(LineText(*table, index)).number) == index);
  const bool full = screen.Written().find("Memoria llena") != std::string::npos;
  if (!full) {
    int splitLines = 0;
    for (const std::string& line : SplitLines(file)) splitLines += line.size() >= MinRawLineLength;
    Check(table->count >= splitLines);
  }
  Check(OnlyOwnControlBytes(screen.Written()));
  Check(screen.MovesOutside() == 0);
  Check(!screen.CursorVisible());

  FreeLineTable(MaxLines, *table);
  table->count = 0;
  return 0;
}
