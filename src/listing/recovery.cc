#include "listing/recovery.h"

#include <cstdio>

#include "files/file_names.h"
#include "listing/raw_lines.h"
#include "platform/platform.h"

namespace {

// The file's bytes; empty when it cannot be read or is not there.
std::string Bytes(const std::string& fileName) {
  RawLines lines;
  if (GetFileKind(fileName) != FileKind::Regular || ReadRawLines(fileName, lines)) return "";
  return lines.bytes;
}

}  // namespace

std::string RecoveryFileName(const std::string& listingName) {
  return DerivedFileName(listingName, ".rec");
}

bool ClaimRecovery(const std::string& listingName) {
  return ClaimFileName(RecoveryFileName(listingName));
}

void KeepRecovery(const std::string& listingName, std::string_view text) {
  const bool onDisk = GetFileKind(listingName) == FileKind::Regular;
  if (text.empty() || (onDisk && Bytes(listingName) == text)) return RemoveRecovery(listingName);
  (void)ReplaceFileSafely(RecoveryFileName(listingName), text, Replacement::NewFile);
}

void RemoveRecovery(const std::string& listingName) {
  const std::string name = RecoveryFileName(listingName);
  if (GetEntryKind(name) == FileKind::Regular) std::remove(name.c_str());
}

bool HasRecovery(const std::string& listingName) {
  const std::string name = RecoveryFileName(listingName);
  return GetEntryKind(name) == FileKind::Regular && Bytes(name) != Bytes(listingName);
}
