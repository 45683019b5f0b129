#include "listing/loader.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

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
  // Once a renumbering moved a line from F to E: F - E, which the lines after it keep.
  std::optional<int32_t> offset = std::nullopt;
  // The raw line before this one went into the table as its last line; its fields as typed.
  bool previousStored = false;
  ListingFields previous = {};
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

void Tell(const LoadState& state, Mended::Kind kind, std::string_view number, int line) {
  if (state.listener.mended)
    state.listener.mended({kind, state.fileLine, std::string(number), line});
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

// A correct listing typed in lower case is a correct listing.
void ReadLowerCaseAsCapitals(std::string& data) {
  for (char& c : data)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
}

// The line takes the number expected, or the user's answers put zero lines in front of it.
// False when the load is to stop: a question went unanswered, or the backup failed.
bool SettleNumber(LoadState& state, ListingFields& fields) {
  const std::optional<int32_t> read = TextToInteger(fields.number);
  int32_t value = read.value_or(0);
  if (read && state.offset && value - *state.offset == state.expected && value != state.expected) {
    if (!WriteBackup(state)) return false;
    Tell(state, Mended::Renumbered, fields.number, state.expected);
    fields.number = std::to_string(state.expected);
    return true;
  }
  if (value == state.expected) {
    state.offset.reset();  // back in step
    return true;
  }
  if (!WriteBackup(state)) return false;
  if (!read || value < state.expected) {
    std::optional<std::string> number =
        state.listener.renumber({state.fileLine, state.fields, state.expected, read.has_value()});
    if (!number) return false;
    fields.number = std::move(*number);
    const int32_t typed = std::max(TextToInteger(fields.number).value_or(0), state.expected);
    if (read) state.offset = value - typed;
    value = typed;
  }
  if (value > state.expected) {
    const int first = state.expected;
    const std::optional<bool> zeros =
        state.listener.fillGap({state.fileLine, fields, first, value - 1});
    if (!zeros) return false;
    if (*zeros) {
      InsertZeroLines(state, first, value - 1);
    } else {
      if (read) state.offset = *read - first;
      fields.number = std::to_string(first).substr(0, MaxNumberLength);
    }
  }
  return true;
}

// A first field of hexadecimal digits that no line number has (a letter, or more than four
// digits): the rest of the line before, cut off by a stray line end.
bool IsContinuationField(std::string_view field) {
  const bool hexadecimal = !field.empty() && std::all_of(field.begin(), field.end(), [](char c) {
    return std::isxdigit(static_cast<unsigned char>(c));
  });
  return hexadecimal && !IsLineNumberField(field) &&
         !std::all_of(field.begin(), field.end(), [](char c) { return c == '0'; });
}

// The line before was stored without a checksum, and this one carries on its data.
bool ContinuesPreviousLine(const LoadState& state, std::string_view raw) {
  return state.previousStored && state.previous.checksum.empty() &&
         IsContinuationField(FirstField(raw));
}

// Its tokens go on the end of the data; a last token that can be a checksum is the checksum.
void JoinToPreviousLine(LoadState& state, std::string_view raw) {
  std::vector<std::string_view> tokens;
  for (std::string_view rest = raw; !FirstField(rest).empty();) {
    const std::string_view token = FirstField(rest);
    tokens.push_back(token);
    rest.remove_prefix(static_cast<size_t>(token.data() + token.size() - rest.data()));
  }
  const int index = state.expected - 1;
  ListingFields line = SplitStoredLine(LineText(state.table, index));
  if (tokens.size() >= 2 && CanBeChecksum(tokens.back())) {
    line.checksum.assign(tokens.back().substr(0, MaxChecksumLength));
    tokens.pop_back();
  }
  for (const std::string_view token : tokens) line.data += token;
  line.data.resize(std::min<size_t>(line.data.size(), MaxDataLength));
  ReadLowerCaseAsCapitals(line.data);
  SetLineText(state.table, index, JoinListingLine(line));
  state.previous.data = line.data;
  state.previous.checksum = line.checksum;
  Tell(state, Mended::Joined, state.previous.number, index);
}

// False when the load is to stop.
bool LoadRawLine(LoadState& state, std::string_view raw) {
  ListingFields& fields = state.fields;
  SplitRawLine(raw, fields);
  ReadLowerCaseAsCapitals(fields.data);
  const bool copy = state.previousStored && fields.number == state.previous.number &&
                    fields.data == state.previous.data &&
                    fields.checksum == state.previous.checksum;
  if (copy) {
    if (!WriteBackup(state)) return false;
    Tell(state, Mended::CopyDropped, fields.number, state.expected - 1);
    return true;
  }
  state.previousStored = false;
  const std::string typedNumber = fields.number;  // only the number is settled
  if (!SettleNumber(state, fields)) return false;
  JoinListingLine(fields.number, fields.data, fields.checksum, state.joined);
  StoreLine(state, state.joined);
  if (state.full) return true;
  state.previousStored = true;
  state.previous.number = typedNumber;
  state.previous.data = fields.data;
  state.previous.checksum = fields.checksum;
  return true;
}

// The line went into entry index as the file holds it, ended as a save by GRAVIX ends it on
// either platform: a listing of only such lines loses nothing when saved, and is its own backup.
bool StoredAsSaved(const LoadState& state, int index, std::string_view raw) {
  const std::string_view end = state.lines.lineEnd;
  return !state.lines.markSkipped && (end == "\n" || end == "\r\n") &&
         state.expected == index + 1 && LineText(state.table, index) == raw;
}

// A line that begins with a number is a line of the listing however short: a save writes such
// lines.
bool IsListingLine(std::string_view raw) {
  return raw.size() >= MinRawLineLength || TextToInteger(FirstField(raw)).has_value();
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
    if (!state.full && ContinuesPreviousLine(state, raw)) {
      if (!WriteBackup(state)) break;
      JoinToPreviousLine(state, raw);
      continue;
    }
    if (!IsListingLine(raw)) {
      state.previousStored = false;
      if (!FirstField(raw).empty() && state.listener.skipped)
        state.listener.skipped(state.fileLine);
    } else if (!state.full && !LoadRawLine(state, raw)) {
      break;  // a question went unanswered, or the backup failed
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
