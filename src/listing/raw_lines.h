#pragma once
// The listing file read as bytes, one raw line at a time, each line copied whole to the backup
// as it goes. A line ends at a line feed, a carriage return, or both; every other byte (NUL
// included) is an ordinary character. A UTF-8 byte-order mark opening the file is no part of
// the first line, though the backup keeps it.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
// Closed unchecked only when a run ends early; the normal close goes through CloseChecked.
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

struct RawLineReader {
  FileHandle listing;
  FileHandle backup;  // none yet while an existing backup is held back
  std::string backupName;
  std::string backupChunk;  // written to the backup whenever a chunk's worth has gathered
  std::vector<char> chunk;
  size_t position = 0;
  size_t filled = 0;
  bool atFileStart = true;
  bool markSkipped = false;  // the file began with a byte-order mark
  // What ended the line just read: "\n", "\r" or "\r\n"; empty when the file did.
  std::string_view lineEnd;
};

// Opens the listing, and creates the backup unless one exists. An existing backup may hold
// typing that a save by GRAVIX lost, so it is not touched until WriteBackup: the copy is held
// back meanwhile. An empty backupName reads without a backup. Any failure ends the run
// through the I/O check.
void OpenRawLines(RawLineReader& reader, const std::string& listingName,
                  const std::string& backupName);

// Replaces an existing backup after all: the listing is not its own copy. The copy held back
// so far is written first.
void WriteBackup(RawLineReader& reader);

// Reads the next line into raw (its first 255 characters) after copying all of it, followed by
// the build's line end, to the backup. False at the end of the file.
bool ReadRawLine(RawLineReader& reader, std::string& raw);

// An existing backup that WriteBackup was never asked for stays as it was.
void CloseRawLines(RawLineReader& reader);
