#pragma once
// Whether the named file can serve as the listing for what a run does with it, and if not, why.

#include <optional>
#include <string>

#include "platform/platform.h"

enum class ListingUse {
  Edit,    // read, then saved over: it must exist, be read and take writing
  Read,    // only read (--check, --tap)
  Create,  // typed from scratch: it must not exist, and its folder must take it
};

enum class ListingFault {
  None,
  Missing,
  Unreadable,
  WriteProtected,
  Exists,
  CannotCreate,
  Folder,              // a folder of that name
  NotRegular,          // a FIFO, device or socket of that name
  Utf16,               // text in UTF-16, which no typed listing can be read as
  BackupNotRegular,    // the backup's name is taken by a folder, FIFO, device or socket
  BackupCannotCreate,  // the backup's folder takes no new file
};

struct ListingFileCheck {
  ListingFault fault = ListingFault::None;
  std::optional<IoFailure> failure = std::nullopt;  // closing the file after the test failed
};

ListingFileCheck CheckListingFile(const std::string& fileName, ListingUse use);

// Whether a backup can be written under backupName: a new file takes the name, so a symbolic
// link does as well as a file, but anything else would have to go first.
ListingFault CheckBackupFile(const std::string& backupName);

// The words the user is shown, such as "El fichero "x.txt" no existe". The whole name is used,
// though the message may later be cut for showing.
std::string ListingFaultText(ListingFault fault, const std::string& fileName);
