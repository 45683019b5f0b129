#include "listing/loader.h"

#include <memory>

#include "listing/raw_lines.h"

namespace {

struct LoadState {
  LineTable& table;
  const LoadListener& listener;
  const std::string& backupName;
  const RawLines& lines;
  int64_t freeBytes;
  int expected = 1;  // the next free table index, the number the next line must carry
  int fileLine = 0;  // the raw line being read, from 1
  bool full = false;
  bool backupWritten = false;
  std::optional<IoFailure> failure = std::nullopt;
  // Reused from line to line: a long listing then costs no allocation per line but its block.
  ListingFields fields = {};
  std::string joined = {};
};

// The backup is replaced whole, once, as soon as the listing shows it is not its own copy, and
// before anything is asked about it.
bool WriteBackup(LoadState& state) {
  if (state.backupWritten || state.backupName.empty()) return true;
  state.backupWritten = true;
  // The backup name gets a file of its own: never the one a link leads to.
  state.failure =
      ReplaceFileSafely(state.backupName, BackupText(state.lines), Replacement::NewFile);
  return !state.failure;
}

// Stores text as the next line; a refusal (memory or table full) ends the storing for good.
void StoreLine(LoadState& state, std::string_view text) {
  if (!AddLine(state.table, state.expected, text, state.freeBytes)) {
    state.full = true;
    return;
  }
  ++state.expected;
  if (state.listener.stored) state.listener.stored();
}

// AddLine refuses index 5001 at the latest, so the numbers stay line numbers.
void InsertZeroLines(LoadState& state, int first, int last) {
  for (int k = first; k <= last && !state.full; ++k) StoreLine(state, ZeroLine(k));
}

// False when the load is to stop: a question went unanswered, or the backup failed.
bool LoadRawLine(LoadState& state, std::string_view raw) {
  ListingFields& fields = state.fields;
  SplitRawLine(raw, fields);
  const std::optional<int32_t> read = TextToInteger(fields.number);
  int32_t value = read.value_or(0);
  if (!read || value < state.expected) {
    if (!WriteBackup(state)) return false;
    std::optional<std::string> number =
        state.listener.renumber({state.fileLine, fields, state.expected, read.has_value()});
    if (!number) return false;
    fields.number = std::move(*number);
    value = std::max(TextToInteger(fields.number).value_or(0), state.expected);
  }
  if (value > state.expected) {
    if (!WriteBackup(state)) return false;
    const int first = state.expected;
    const std::optional<bool> zeros =
        state.listener.fillGap({state.fileLine, fields, first, value - 1});
    if (!zeros) return false;
    if (*zeros)
      InsertZeroLines(state, first, value - 1);
    else
      fields.number = std::to_string(first).substr(0, MaxNumberLength);
  }
  if (state.full) return true;
  JoinListingLine(fields.number, fields.data, fields.checksum, state.joined);
  StoreLine(state, state.joined);
  return true;
}

// The line went into entry index as the file holds it, ended as a save by GRAVIX ends it on
// either platform: a listing of only such lines loses nothing when saved, and is its own backup.
bool StoredAsSaved(const LoadState& state, int index, std::string_view raw) {
  const std::string_view end = state.lines.lineEnd;
  return !state.lines.markSkipped && (end == "\n" || end == "\r\n") &&
         state.expected == index + 1 && LineText(state.table, index) == raw;
}

// A line with a line number is a line of the listing however short: a save writes such lines.
bool IsListingLine(std::string_view raw) {
  return raw.size() >= MinRawLineLength || IsLineNumberField(FirstField(raw));
}

}  // namespace

LoadResult LoadListing(const std::string& fileName, const std::string& backupName,
                       int64_t freeBytes, LineTable& table, const LoadListener& listener) {
  RawLines lines;
  LoadResult result;
  if ((result.failure = ReadRawLines(fileName, lines))) return result;
  LoadState state{table, listener, backupName, lines, freeBytes};
  // Without a backup yet, the typing is copied before anything else happens.
  if (GetFileKind(backupName) != FileKind::Regular && !WriteBackup(state)) {
    result.failure = state.failure;
    return result;
  }
  std::string_view raw;
  // After the table is full the rest is still read, so the backup is a whole copy.
  while (NextRawLine(lines, raw)) {
    ++state.fileLine;
    const int index = state.expected;
    if (!IsListingLine(raw)) {
      if (!FirstField(raw).empty() && state.listener.skipped)
        state.listener.skipped(state.fileLine);
    } else if (!state.full && !LoadRawLine(state, raw)) {
      result.abandoned = !state.failure;
      break;
    }
    if (!StoredAsSaved(state, index, raw) && !WriteBackup(state)) break;
  }
  table.count = state.expected - 1;
  result.failure = state.failure;
  result.full = state.full;
  result.freeBytes = state.freeBytes;
  return result;
}

std::optional<IoFailure> BackUpListing(const std::string& fileName, const std::string& backupName) {
  const auto table = std::make_unique<LineTable>();
  const LoadListener usualAnswers{
      .renumber =
          [](const WrongNumber& found) {
            return std::optional<std::string>(std::to_string(found.expected));
          },
      .fillGap = [](const MissingLines&) { return std::optional<bool>(true); }};
  return LoadListing(fileName, backupName, FreeMemoryBytes(), *table, usualAnswers).failure;
}
