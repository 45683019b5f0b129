// The editor's command loop on any key script over a small listing: an odd first byte picks
// nine correct lines (Enter then reaches the compile dialogue), an even one a listing with
// faulty lines and file bytes that would drive a terminal. The script's other bytes are the
// keys; a fixed tail then leaves any prompt or pause and quits, so every run ends.
//
// Checked: every stored line holds at most 60 characters and splits and joins back to itself;
// the saved listing is the table (or, after X answered S, an older whole listing); a tape image
// is whole; no temporary file is left; the screen never scrolls, no move leaves it, and the
// banner, the rules and the blank row above the key help are never written over; only the
// program's own control bytes reach the console.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "editor/editor.h"
#include "editor/editor_screen.h"
#include "program_checks.h"

namespace {

const std::vector<std::string> CorrectLines = {
    "1 06000E0076790F0F0FE6 534", "2 07D3FE0C10F43A485C0F 981",  "3 0F0FE607D3FEC9000000 933",
    "4 00000000000000000000 0",   "5 FFFFFFFFFFFFFFFFFFFF 2550", "6 0102030405060708090A 55",
    "7 00000000000000000001 1",   "8 10000000000000000000 16",   "9 00000000000000000000 0",
};

const std::vector<std::string> FaultyLines = {
    "1 06000E0076790F0F0FE6 534",
    "2 07d3FE0C10F43A485C0F 981",
    "3  0",
    "4 " + std::string(43, 'F') + " 9999999999",
    "5 \x1b]2;GRAVIX\x07\x1b[2J\x9b\xff\x01\x7f \x1b[31m\x08",
    "6 0F0FE607D3FEC9000000 -1",
    "7 00000000000000000000 ",
};

// An extended key (taken by any pause, harmless in the editor), then Q (quits from the editor),
// N (answers "Salir SIN guardar", ignored elsewhere), then a finished answer for any prompt.
const std::string QuitUnit = std::string("\0\x47QN", 4) + std::string(10, '\b') + "1\r";
constexpr int FixedRows[] = {1, 2, 3, 4, 5, 15, 19, 20};

std::string FixedRegions(const MemoryConsole& screen) {
  std::string text;
  for (int row : FixedRows) {
    text += screen.Row(row);
    for (int column = 1; column <= ScreenColumns; ++column)
      text.push_back(static_cast<char>(screen.Colour(column, row)));
  }
  return text;
}

// A tape image: header block of 19 bytes, then a data block as long as the header says.
bool WholeTapeImage(const std::string& image, int lineCount) {
  if (image.size() < 25 || image.substr(0, 4) != std::string("\x13\0\0\x03", 4)) return false;
  const size_t count = static_cast<uint8_t>(image[14]) + 256u * static_cast<uint8_t>(image[15]);
  const size_t block = static_cast<uint8_t>(image[21]) + 256u * static_cast<uint8_t>(image[22]);
  return count <= 10u * static_cast<size_t>(lineCount) && block == count + 2 &&
         image.size() == 25 + count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0) return 0;
  const std::string_view keys(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  const std::vector<std::string>& lines = bytes[0] % 2 ? CorrectLines : FaultyLines;
  static auto table = std::make_unique<LineTable>();
  LoadBudget budget{int64_t{1} << 20, 1};
  for (const std::string& line : lines)
    if (!AddLine(*table, static_cast<int16_t>(table->count + 1), line, budget)) ++table->count;

  const std::string directory = FuzzDirectory();
  const std::string listingName = directory + "/juego.txt";
  const std::string imageName = directory + "/juego.tap";
  const std::string oldListing = "1 00000000000000000000 0\n";
  WriteWholeFile(listingName, oldListing);
  std::remove(imageName.c_str());

  MemoryConsole screen;
  DrawEditorScreen();
  const std::string fixed = FixedRegions(screen);
  screen.ForgetWrites();
  screen.Keys(keys);
  for (int unit = 0; unit < 6; ++unit) screen.Keys(QuitUnit);
  try {
    RunEditor(listingName, table->count, *table);
  } catch (const KeysExhausted&) {
    Check(false);  // a state the tail does not leave
  } catch (const ProgramEnd&) {
    Check(false);  // nothing on a good file system ends the run
  }

  CheckStoredLines(*table);
  Check(table->count == static_cast<int16_t>(lines.size()));
  std::string saved;
  for (int index = 1; index <= table->count; ++index)
    saved += std::string(LineText(*table, index)) + "\n";
  const std::string listing = ReadWholeFile(listingName);
  const bool quitWithoutSaving = screen.Written().ends_with("(S/N): S");
  if (!quitWithoutSaving) Check(listing == saved);
  Check(listing == oldListing || std::count(listing.begin(), listing.end(), '\n') == table->count);
  const std::string image = ReadWholeFile(imageName);
  Check(image.empty() || WholeTapeImage(image, table->count));
  Check(FilesIn(directory) == (image.empty() ? 1 : 2));

  Check(screen.Scrolls() == 0 && screen.MovesOutside() == 0);
  Check(FixedRegions(screen) == fixed);
  Check(OnlyOwnControlBytes(screen.Written()));

  FreeLineTable(table->count, *table);
  table->count = 0;
  return 0;
}
