#pragma once
// Properties the targets check; a failure is a crash libFuzzer records.
#include <stdlib.h>

#include <string>
#include <string_view>

#include "listing/line_table.h"
#include "platform/temp_dir.h"

inline void Check(bool holds) {
  if (!holds) std::abort();
}

// This process's own folder, removed at its end; in memory where possible, so that saving's
// fsyncs cost nothing.
inline std::string FuzzDirectory() {
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
inline bool OnlyOwnControlBytes(std::string_view written) {
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

// The table's lines as a save on Linux writes them.
inline std::string SavedForm(const LineTable& table) {
  std::string saved;
  for (int index = 1; index <= table.count; ++index) saved.append(LineText(table, index)) += '\n';
  return saved;
}

// Entries 1..count hold lines of at most 60 characters, numbered with their entry, whose fields
// split and join back to the same text; nothing lies beyond count.
inline void CheckStoredLines(const LineTable& table) {
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
