#include "listing/raw_lines.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "console/io_check.h"
#include "listing/line_format.h"
#include "listing/line_table.h"
#include "platform/platform.h"

namespace {

// Some Windows editors put a UTF-8 byte-order mark in front of the first line.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// Large reads keep a 100 000-line file to a few dozen system calls.
constexpr size_t ChunkSize = 64 * 1024;

bool FillChunk(RawLineReader& reader) {
  reader.position = 0;
  reader.filled = std::fread(reader.chunk.data(), 1, ChunkSize, reader.listing.get());
  CheckIo(!std::ferror(reader.listing.get()));
  return reader.filled > 0;
}

void WriteBackupChunk(RawLineReader& reader) {
  const std::string& bytes = reader.backupChunk;
  if (!bytes.empty())
    CheckIo(std::fwrite(bytes.data(), 1, bytes.size(), reader.backup.get()) == bytes.size());
  reader.backupChunk.clear();
}

void OpenBackup(RawLineReader& reader) {
  reader.backup.reset(std::fopen(reader.backupName.c_str(), "wb"));
  CheckIo(reader.backup != nullptr);
  WriteBackupChunk(reader);
}

// No listing GRAVIX saves is longer: 5000 lines of 60 characters, each with a CR LF. A copy
// held back that grows past it is written rather than held in memory.
constexpr size_t MaxSavedListingSize = MaxLines * (MaxLineLength + 2);

// Gathered rather than written line by line: two stdio calls per line were as much work as
// splitting the line.
void CopyToBackup(RawLineReader& reader, const char* bytes, size_t count) {
  if (reader.backupName.empty()) return;
  reader.backupChunk.append(bytes, count);
  if (!reader.backup && reader.backupChunk.size() > MaxSavedListingSize) OpenBackup(reader);
  if (reader.backup && reader.backupChunk.size() >= ChunkSize) WriteBackupChunk(reader);
}

void CloseChecked(FileHandle& file) { CheckIo(std::fclose(file.release()) == 0); }

}  // namespace

void OpenRawLines(RawLineReader& reader, const std::string& listingName,
                  const std::string& backupName) {
  reader.listing.reset(std::fopen(listingName.c_str(), "rb"));
  CheckIo(reader.listing != nullptr);
  reader.chunk.resize(ChunkSize);
  reader.backupChunk.clear();
  reader.backupChunk.reserve(ChunkSize + MaxRawLineLength);
  reader.position = reader.filled = 0;
  reader.atFileStart = true;
  reader.markSkipped = false;
  reader.backupName = backupName;
  reader.backup.reset();
  if (!backupName.empty() && GetFileKind(backupName) != FileKind::Regular) OpenBackup(reader);
}

void WriteBackup(RawLineReader& reader) {
  if (!reader.backup && !reader.backupName.empty()) OpenBackup(reader);
}

bool ReadRawLine(RawLineReader& reader, std::string& raw) {
  raw.clear();
  reader.lineEnd = {};
  if (reader.position == reader.filled && !FillChunk(reader)) return false;
  // The mark is no part of line 1, but the backup, a byte copy of the lines, keeps it.
  if (std::exchange(reader.atFileStart, false) &&
      std::string_view(reader.chunk.data(), reader.filled).starts_with(ByteOrderMark)) {
    CopyToBackup(reader, ByteOrderMark.data(), ByteOrderMark.size());
    reader.position += ByteOrderMark.size();
    reader.markSkipped = true;
  }
  // Until a line end, or the end of the file for a last line without one.
  while (reader.position < reader.filled || FillChunk(reader)) {
    const char* begin = reader.chunk.data() + reader.position;
    const char* stop = reader.chunk.data() + reader.filled;
    const char* end = std::find_if(begin, stop, [](char c) { return c == '\n' || c == '\r'; });
    const size_t count = static_cast<size_t>(end - begin);
    // The backup keeps the whole line however long; only its start is split.
    CopyToBackup(reader, begin, count);
    raw.append(begin, std::min(count, MaxRawLineLength - raw.size()));
    reader.position += count;
    if (end == stop) continue;
    ++reader.position;
    reader.lineEnd = *end == '\n' ? "\n" : "\r";
    // The line feed of a carriage return may open the next chunk.
    if (*end == '\r' && (reader.position < reader.filled || FillChunk(reader)) &&
        reader.chunk[reader.position] == '\n') {
      ++reader.position;
      reader.lineEnd = "\r\n";
    }
    break;
  }
  const std::string_view lineEnd = LineEnd();
  CopyToBackup(reader, lineEnd.data(), lineEnd.size());
  return true;
}

void CloseRawLines(RawLineReader& reader) {
  CloseChecked(reader.listing);
  if (!reader.backup) return;  // held back to the end: the listing is its own copy
  WriteBackupChunk(reader);
  CloseChecked(reader.backup);
}
