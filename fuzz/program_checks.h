#pragma once
// Properties the targets check; a failure is a crash libFuzzer records.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "listing/line_table.h"

inline void Check(bool holds) {
  if (!holds) std::abort();
}

// This process's own directory, in memory where possible (saving's fsyncs then cost nothing).
inline std::string FuzzDirectory() {
  static std::string path;
  if (path.empty()) {
    path = std::filesystem::exists("/dev/shm") ? "/dev/shm/gravix-fuzz-XXXXXX"
                                               : "/tmp/gravix-fuzz-XXXXXX";
    Check(mkdtemp(path.data()) != nullptr);
    std::atexit([] { std::filesystem::remove_all(path); });
  }
  return path;
}

inline void WriteWholeFile(const std::string& name, std::string_view bytes) {
  Check(static_cast<bool>(std::ofstream(name, std::ios::binary) << bytes));
}

inline std::string ReadWholeFile(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
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

// Entries 1..count hold lines of at most 60 characters, numbered with their entry, whose fields
// split and join back to the same text; nothing lies beyond count.
inline void CheckStoredLines(const LineTable& table) {
  Check(table.count >= 0 && table.count <= MaxLines);
  for (int index = 1; index <= MaxLines; ++index) {
    Check((table.lines[index - 1] != nullptr) == (index <= table.count));
    if (index > table.count) continue;
    const std::string_view line = LineText(table, index);
    const ListingFields fields = SplitStoredLine(line);
    Check(line.size() <= MaxLineLength && fields.number.size() <= MaxNumberLength &&
          fields.data.size() <= MaxDataLength && fields.checksum.size() <= MaxChecksumLength);
    Check(JoinListingLine(fields.number, fields.data, fields.checksum) == line &&
          TextToInteger(fields.number) == index);
  }
}
