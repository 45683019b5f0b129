#pragma once
// Properties shared by the targets that run the program itself against the in-memory console.
#include <dirent.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "listing/line_table.h"

// A directory of this process's own, on a memory file system where there is one, so the
// fsyncs of saving cost nothing; removed when the process exits.
inline std::string FuzzDirectory() {
  static std::string path;
  if (path.empty()) {
    path = "/dev/shm/gravix-fuzz-XXXXXX";
    if (!mkdtemp(path.data())) {
      path = "/tmp/gravix-fuzz-XXXXXX";
      Check(mkdtemp(path.data()) != nullptr);
    }
    std::atexit([] { std::filesystem::remove_all(path); });
  }
  return path;
}

inline void WriteWholeFile(const std::string& name, std::string_view bytes) {
  std::FILE* file = std::fopen(name.c_str(), "wb");
  Check(file != nullptr);
  Check(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
  Check(std::fclose(file) == 0);
}

inline std::string ReadWholeFile(const std::string& name) {
  std::string bytes;
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (!file) return bytes;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    bytes.append(buffer, got);
  std::fclose(file);
  return bytes;
}

// Names in the directory besides the ones expected: a temporary file left behind shows here.
inline int FilesIn(const std::string& directory) {
  int count = 0;
  DIR* folder = opendir(directory.c_str());
  Check(folder != nullptr);
  while (const dirent* entry = readdir(folder))
    if (std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != "..") ++count;
  closedir(folder);
  return count;
}

// Only the program's own control bytes reach the console: line feeds, the activity
// indicator's back step after its frame, and the erase of InputLine ("\b \b"). No bell: these
// runs never end in a fatal error. Text from files or keys shows its control bytes as "?".
inline bool OnlyOwnControlBytes(std::string_view written) {
  for (size_t i = 0; i < written.size(); ++i) {
    const auto c = static_cast<uint8_t>(written[i]);
    if (c >= 32 && c != 127) continue;
    if (c == '\n') continue;
    if (c == 8 && written.substr(i, 3) == "\b \b") {
      i += 2;
      continue;
    }
    if (c == 8 && i > 0 && std::string_view("<=>").find(written[i - 1]) != std::string_view::npos)
      continue;
    return false;
  }
  return true;
}

// Entries 1..count hold lines of at most 60 characters whose fields split and join back to the
// same text, and nothing lies beyond count.
inline void CheckStoredLines(const LineTable& table) {
  Check(table.count >= 0 && table.count <= MaxLines);
  for (int index = 1; index <= MaxLines; ++index) {
    if (index > table.count) {
      Check(table.lines[index - 1] == nullptr);
      continue;
    }
    Check(table.lines[index - 1] != nullptr);
    const std::string_view line = LineText(table, index);
    Check(line.size() <= MaxLineLength);
    const ListingFields fields = SplitStoredLine(line);
    Check(fields.number.size() <= MaxNumberLength && fields.data.size() <= MaxDataLength &&
          fields.checksum.size() <= MaxChecksumLength);
    Check(JoinListingLine(fields.number, fields.data, fields.checksum) == line);
  }
}
