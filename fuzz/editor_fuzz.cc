// The editor on any key script, then a fixed tail that leaves any prompt or pause and quits. An
// odd first byte picks nine correct lines (Enter reaches the compile dialogue), an even one
// faulty lines with bytes that would drive a terminal.
#include <algorithm>
#include <memory>
#include <vector>

#include "console/memory/memory_console.h"
#include "editor/editor.h"
#include "editor/editor_screen.h"
#include "program_checks.h"

namespace {

const std::vector<std::string> CorrectLines = {
    "1 06000E0076790F0F0FE6 534", "2 07D3FE0C10F43A485C0F 981",  "3 0F0FE607D3FEC9000000 933",
    "4 00000000000000000000 0",   "5 FFFFFFFFFFFFFFFFFFFF 2550", "6 0102030405060708090A 55",
    "7 00000000000000000001 1",   "8 10000000000000000000 16",   "9 00000000000000000000 0"};
const std::vector<std::string> FaultyLines = {
    "1 06000E0076790F0F0FE6 534",
    "2 07d3FE0C10F43A485C0F 981",
    "3  0",
    "4 " + std::string(43, 'F') + " 9999999999",
    "5 \x1b]2;GRAVIX\x07\x1b[2J\x9b\xff\x01\x7f \x1b[31m\x08",
    "6 0F0FE607D3FEC9000000 -1",
    "7 00000000000000000000 "};

// The text and colours of the rows that never change: banner, rules, the blank row above the help.
std::string FixedRegions(const MemoryConsole& screen) {
  std::string cells;
  for (int row : {1, 2, 3, 4, 5, 15, 19, 20})
    for (int column = 1; column <= 80; ++column)
      cells += screen.Text(column, row, 1) + static_cast<char>(screen.Colour(column, row));
  return cells;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0) return 0;
  const std::vector<std::string>& lines = bytes[0] % 2 ? CorrectLines : FaultyLines;
  static auto table = std::make_unique<LineTable>();
  for (const std::string& line : lines) Check(AppendLine(*table, line, int64_t{1} << 20));
  const std::string listingName = FuzzDirectory() + "/juego.txt", oldListing = "1 0 0\n";
  const std::string imageName = FuzzDirectory() + "/juego.tap";
  WriteBytes(listingName, oldListing);
  std::filesystem::remove(imageName);

  MemoryConsole screen;
  DrawEditorScreen();
  const std::string fixed = FixedRegions(screen);
  screen.ForgetWrites();
  screen.Keys(std::string_view(reinterpret_cast<const char*>(bytes) + 1, size - 1));
  // An extended key ends a pause, Q quits, N answers "Salir SIN guardar", the rest a prompt.
  for (int unit = 0; unit < 6; ++unit)
    screen.Keys(std::string("\0\x47QN", 4) + std::string(10, '\b') + "1\r");
  RunEditor(listingName, *table);  // a throw is a finding

  // Insert adds lines after the last; none goes but a stray one.
  CheckStoredLines(*table);
  Check(table->count >= static_cast<int16_t>(lines.size()));
  // Left with Q, or X answered N, the listing is the table; a save writes every line there is
  // then, and Insert may add more later.
  const std::string listing = ReadBytes(listingName);
  Check(screen.Written().ends_with("(S/N): S") || listing == SavedForm(*table));
  Check(listing == oldListing || std::count(listing.begin(), listing.end(), '\n') >=
                                     static_cast<std::ptrdiff_t>(lines.size()));
  // A tape image: a 19-byte header block, then a data block as long as the header says.
  const std::string image = ReadBytes(imageName);
  const auto word = [&](int at) { return uint8_t(image[at]) + 256u * uint8_t(image[at + 1]); };
  Check(image.empty() || (image.size() >= 25 && image.starts_with(std::string("\x13\0\0\x03", 4)) &&
                          word(14) <= 10u * table->count && word(21) == word(14) + 2 &&
                          image.size() == 25 + word(14)));
  Check(std::distance(std::filesystem::directory_iterator(FuzzDirectory()), {}) ==
        (image.empty() ? 1 : 2));
  Check(screen.Scrolls() == 0 && screen.MovesOutside() == 0 && FixedRegions(screen) == fixed);
  Check(OnlyOwnControlBytes(screen.Written()));
  FreeLineTable(*table);
  return 0;
}
