#include "listing/raw_lines.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "listing/line_format.h"

namespace {

// Some Windows editors put a UTF-8 byte-order mark in front of the first line.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The line at position, whole, and where the next one starts.
std::string_view WholeLine(const RawLines& lines, size_t position, size_t& next,
                           std::string_view& lineEnd) {
  const std::string_view bytes = lines.bytes;
  const size_t end = std::min(bytes.find_first_of("\r\n", position), bytes.size());
  lineEnd = {};
  next = end;
  if (end < bytes.size()) {
    const bool pair = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
    lineEnd = pair ? "\r\n" : bytes[end] == '\n' ? "\n" : "\r";
    next = end + lineEnd.size();
  }
  return bytes.substr(position, end - position);
}

}  // namespace

std::optional<IoFailure> ReadRawLines(const std::string& fileName, RawLines& lines) {
  lines = RawLines{};
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) return LastIoFailure();
  char chunk[64 * 1024];
  while (const size_t got = std::fread(chunk, 1, sizeof chunk, file.get()))
    lines.bytes.append(chunk, got);
  if (std::ferror(file.get())) return LastIoFailure();
  // The mark is no part of line 1, but the backup, a byte copy of the lines, keeps it.
  if (std::string_view(lines.bytes).starts_with(ByteOrderMark)) {
    lines.position = ByteOrderMark.size();
    lines.markSkipped = true;
  }
  return std::nullopt;
}

bool NextRawLine(RawLines& lines, std::string_view& raw) {
  if (lines.position >= lines.bytes.size()) return false;
  size_t next;
  raw = WholeLine(lines, lines.position, next, lines.lineEnd);
  raw = raw.substr(0, MaxRawLineLength);
  lines.position = next;
  return true;
}

std::string BackupText(const RawLines& lines) {
  std::string text;
  text.reserve(lines.bytes.size() + lines.bytes.size() / 16);
  size_t position = 0;
  if (lines.markSkipped) {
    text += ByteOrderMark;
    position = ByteOrderMark.size();
  }
  std::string_view lineEnd;
  while (position < lines.bytes.size()) {
    size_t next;
    text += WholeLine(lines, position, next, lineEnd);
    text += LineEnd();
    position = next;
  }
  return text;
}
