// The whole loader on any file (the input after its first line feed), its dialogues answered by
// the keys before it, then by a fixed tail; an odd number of them makes memory run out at 40
// lines.
#include <stdlib.h>

#include <memory>
#include <optional>
#include <utility>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "listing/loader.h"
#include "platform/temp_dir.h"

namespace {

// A property that fails is a crash libFuzzer records.
void Check(bool holds) {
  if (!holds) std::abort();
}

// This process's own folder, removed at its end; in memory where possible.
std::string FuzzDirectory() {
  namespace fs = std::filesystem;
  static const struct Folder {
    std::string path =
        ((fs::exists("/dev/shm") ? "/dev/shm" : fs::temp_directory_path()) / "gravix-fuzz-XXXXXX");
    Folder() { Check(mkdtemp(path.data()) != nullptr); }
    ~Folder() { fs::remove_all(path); }
  } folder;
  return folder.path;
}

// Only the program's own control bytes reach the console: line feeds, the activity indicator's
// back step after its frame, InputLine's erase ("\b \b"); no bell. File and key text shows "?".
bool OnlyOwnControlBytes(std::string_view written) {
  for (size_t i = 0; i < written.size(); ++i) {
    const auto c = static_cast<uint8_t>(written[i]);
    if (c == 8 && written.substr(i, 3) == "\b \b")
      i += 2;
    else if ((c < 32 || c == 127) && c != '\n' &&
             !(c == 8 && i > 0 && std::string_view("<=>").find(written[i - 1]) != written.npos))
      return false;
  }
  return true;
}

// Entries 1..count hold lines of at most 60 characters, numbered with their entry, whose fields
// split and join back to the same text; nothing lies beyond count.
void CheckStoredLines(const LineTable& table) {
  Check(table.count >= 0 && table.count <= MaxLines);
  for (int index = 1; index <= MaxLines; ++index) {
    Check((table.lines[index - 1] != nullptr) == (index <= table.count));
    if (index > table.count) continue;
    const std::string_view line = LineText(table, index);
    const ListingFields fields = SplitStoredLine(line);
    Check(line.size() <= MaxLineLength &&
          JoinListingLine(fields.number, fields.data, fields.checksum) == line &&
          TextToInteger(fields.number) == index);
  }
}


}  // namespace

// The backup holds the file's lines, split here on their own (at a line feed, a carriage return
// or both; a last line without an end counts), each with a line feed, a byte-order mark kept.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  const size_t split = std::min(input.find('\n'), input.size());
  const std::string_view answers = input.substr(0, split),
                         file = input.substr(std::min(split + 1, size));
  const std::string listingName = FuzzDirectory() + "/juego.txt";
  WriteBytes(listingName, std::string(file));
  std::filesystem::remove(FuzzDirectory() + "/juego.bak");  // one from before could stay
  MemoryConsole screen;
  std::string keys(answers);
  std::erase(keys, '\x03');  // Ctrl+C ends the run, as it should
  screen.Keys(keys);
  // A half-typed number cleared, one no line exceeds, then N to the gap it opens.
  for (size_t unit = 0; unit < file.size() / MinRawLineLength + 3; ++unit)
    screen.Keys("\b\b\b\b9999\rN");
  HideCursor();
  static auto table = std::make_unique<LineTable>();
  LoadBudget budget{answers.size() % 2 ? 40 * LineBlockSize : int64_t{1} << 30, 1};
  LoadListing(listingName, *table, budget);  // keys the tail does not answer, or an end, throw

  std::string backup, line;
  int splitLines = 0;
  size_t mark = file.starts_with("\xEF\xBB\xBF") ? 3 : 0;  // no part of line 1
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
  Check(ReadBytes(FuzzDirectory() + "/juego.bak") == backup);
  CheckStoredLines(*table);
  Check(table->count >= splitLines || screen.Written().find("Memoria llena") != std::string::npos);
  Check(OnlyOwnControlBytes(screen.Written()) && screen.MovesOutside() == 0 &&
        !screen.CursorVisible());
  FreeLineTable(*table);
  return 0;
}
