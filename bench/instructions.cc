// Run under callgrind with --collect-atstart=no: only the work between the two toggles is
// counted, through the terminal binding writing to standard output (a file or /dev/null).
//   gravix_instructions load LINES   loading a listing of that many correct lines
//   gravix_instructions keystroke    a digit typed: row 10 redrawn, the cursor placed, written
//   gravix_instructions linechange   the next line: rows 6 to 14 redrawn, written
#include <unistd.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "console/console.h"
#include "dialogues/numbering_dialogue.h"
#include "editor/editor_screen.h"
#include "files/file_names.h"
#include "listing/line_format.h"
#include "listing/line_table.h"
#include "platform/platform.h"
#include "support/listings.h"

namespace {

constexpr int Lines = 5000;

std::unique_ptr<LineTable> CorrectTable() {
  auto table = std::make_unique<LineTable>();
  int64_t freeBytes = int64_t{1} << 40;
  for (int line = 1; line <= Lines; ++line) AddLine(*table, line, CorrectLine(line), freeBytes);
  table->count = Lines;
  return table;
}

// What the command loop does around every key: the cursor back into place and shown.
void WaitForNextKey() {
  MoveCursor(DataFieldColumn + 1, CurrentLineRow);
  ShowCursor();
  FlushConsole();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "";
  InitConsole();
  HideCursor();
  if (mode == "load" && argc > 2) {
    const std::filesystem::path file =
        FastDirectory() / ("gravix-instructions-" + std::to_string(getpid()) + ".txt");
    WriteListing(file, std::atoi(argv[2]));
    LineTable table;
    CALLGRIND_TOGGLE_COLLECT;
    LoadListingOnScreen(file.string(), DerivedFileName(file.string(), ".bak"), table, ClockSeed());
    FlushConsole();
    CALLGRIND_TOGGLE_COLLECT;
    FreeLineTable(table);
    std::filesystem::remove(file);
    std::filesystem::remove(DerivedFileName(file.string(), ".bak"));
    return 0;
  }
  if (mode != "keystroke" && mode != "linechange") {
    std::fputs("usage: gravix_instructions load LINES | keystroke | linechange\n", stderr);
    return 2;
  }
  const auto table = CorrectTable();
  DrawEditorScreen();
  DrawEditorPage(120, *table);
  WaitForNextKey();
  // The digit typed in front of the data: 21 digits now.
  const ListingFields fields = SplitStoredLine(LineText(*table, 120));
  const std::string typed = JoinListingLine(fields.number, "7" + fields.data, fields.checksum);
  CALLGRIND_TOGGLE_COLLECT;
  HideCursor();
  if (mode == "keystroke")
    DrawListingLine(CurrentLineRow, typed);
  else
    DrawEditorPage(121, *table);
  WaitForNextKey();
  CALLGRIND_TOGGLE_COLLECT;
  return 0;
}
