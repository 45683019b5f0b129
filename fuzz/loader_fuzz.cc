// The whole loader on any file (the input after its first line feed), its dialogues answered by
// the keys before it, then by a fixed tail; an odd number of them makes memory run out at 40
// lines. The backup holds the file's lines, split here on their own, each with a line feed.
#include <memory>
#include <string>
#include <utility>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "listing/loader.h"
#include "program_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  const size_t split = std::min(input.find('\n'), input.size());
  const std::string_view answers = input.substr(0, split),
                         file = input.substr(std::min(split + 1, size));
  const std::string listingName = FuzzDirectory() + "/juego.txt";
  WriteWholeFile(listingName, file);

  MemoryConsole screen;
  screen.Keys(answers);
  // A half-typed number cleared, one no line exceeds, then N to the gap it opens.
  for (size_t unit = 0; unit < file.size() / MinRawLineLength + 3; ++unit)
    screen.Keys("\b\b\b\b9999\rN");
  HideCursor();
  static auto table = std::make_unique<LineTable>();
  LoadBudget budget{answers.size() % 2 ? 40 * LineBlockSize : int64_t{1} << 30, 1};
  // Keys the tail does not answer, or an end (none on a good file system), throw: a finding.
  LoadListing(listingName, *table, budget);

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
  Check(ReadWholeFile(FuzzDirectory() + "/juego.bak") == backup);
  CheckStoredLines(*table);
  Check(table->count >= splitLines || screen.Written().find("Memoria llena") != std::string::npos);
  Check(OnlyOwnControlBytes(screen.Written()) && screen.MovesOutside() == 0 &&
        !screen.CursorVisible());
  FreeLineTable(*table);
  return 0;
}
