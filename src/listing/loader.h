#pragma once
// Reading a listing file into the line table: every usable line is stored, broken numbering is
// handed to whoever loads (the dialogue asks the user, the forms for scripts settle it
// quietly), and the file's lines are kept in the backup file. The slips typists make are mended
// on the way: a line typed twice goes, a line cut by a stray line end is joined again, lower-case
// digits are read as capitals, and once a line was renumbered the lines after it that keep the
// same offset follow without a question. An existing backup is kept when
// the listing is exactly what GRAVIX saves for the lines it loads: that backup holds the typing
// from before the save, which may have lost some of it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "listing/line_format.h"
#include "listing/line_table.h"
#include "platform/platform.h"

// A line whose number field does not read as a number, or reads as one below the number the
// line must carry.
struct WrongNumber {
  int fileLine;  // the raw line of the file, from 1
  const ListingFields& fields;
  int expected;
  bool readable;
};

// Lines first to last are missing: the line read carries last + 1.
struct MissingLines {
  int fileLine;
  const ListingFields& fields;
  int first;
  int last;
};

// What the loader mended on its own, for whoever loads to tell.
struct Mended {
  enum Kind {
    Renumbered,   // a line whose number keeps the offset a renumbering before it set
    CopyDropped,  // a line typed twice: the copy goes
    Joined,       // a line cut in two by a stray line end: the second half joins the first
  } kind;
  int fileLine;        // the raw line of the file, from 1
  std::string number;  // the number field as the file has it (for Joined, the first half's)
  int line;            // the listing line: renumbered to, repeated, or joined into
};

// What the loader asks of whoever loads. No answer abandons the load.
struct LoadListener {
  // The number field the line takes instead; it reads as expected or more.
  std::function<std::optional<std::string>(const WrongNumber&)> renumber = nullptr;
  // True: the missing lines are zero lines; false: the line takes the first missing number.
  std::function<std::optional<bool>(const MissingLines&)> fillGap = nullptr;
  // A line went into the table; may be left empty.
  std::function<void()> stored = nullptr;
  // Something mended without a question; may be left empty.
  std::function<void(const Mended&)> mended = nullptr;
  // A line of the file that is no line of the listing (short, with no line number) was left
  // out; blank lines pass in silence. May be left empty.
  std::function<void(int fileLine)> skipped = nullptr;
};

struct LoadResult {
  std::optional<IoFailure> failure;  // the listing could not be read or the backup written
  bool full = false;                 // lines were left out: the table or memory ran out
  int64_t freeBytes = 0;             // memory left for lines when the load ended
};

// Fills the empty table from fileName and sets its count. freeBytes is the memory lines may
// take. With an empty backupName no backup is written.
LoadResult LoadListing(const std::string& fileName, const std::string& backupName,
                       int64_t freeBytes, LineTable& table, const LoadListener& listener);

// The backup rule alone, for a start whose lines come from elsewhere (the recovery file): the
// listing is read as LoadListing reads it and backed up when it is not its own copy.
std::optional<IoFailure> BackUpListing(const std::string& fileName, const std::string& backupName);
