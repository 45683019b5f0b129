// File kinds and identity from the file's handle: a file is named through whatever links and
// reparse points lead to it, and two names are the same file when the volume and the file
// index agree.
#include <windows.h>

#include "platform/platform.h"

namespace {

// Opened for no access at all, so neither sharing nor permissions stand in the way; backup
// semantics are what let a directory be opened.
HANDLE OpenForQuery(const std::string& path) {
  return CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool QueryFile(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  const HANDLE file = OpenForQuery(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  return ok;
}

}  // namespace

FileKind GetFileKind(const std::string& path) {
  const HANDLE file = OpenForQuery(path);
  if (file == INVALID_HANDLE_VALUE) {
    // Some files refuse even a query handle; their attributes still tell what they are.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Directory;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return FileKind::Other;
    return FileKind::Regular;
  }
  FileKind kind = FileKind::Other;  // consoles, pipes, devices such as NUL or COM1
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info))
    kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Directory
                                                              : FileKind::Regular;
  CloseHandle(file);
  return kind;
}

FileKind GetEntryKind(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return FileKind::Link;
  return GetFileKind(path);
}

FileStamp GetFileStamp(const std::string& path) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!QueryFile(path, info)) return {};
  return {true, info.dwVolumeSerialNumber,
          (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
          (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
          static_cast<int64_t>((uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                               info.ftLastWriteTime.dwLowDateTime)};
}

std::optional<LocalTime> FileWrittenAt(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  SYSTEMTIME time;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !FileTimeToSystemTime(&local, &time))
    return std::nullopt;
  return LocalTime{time.wDay, time.wMonth, time.wYear, time.wHour, time.wMinute};
}

bool SameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION first, second;
  if (!QueryFile(a, first) || !QueryFile(b, second)) return false;
  return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}
