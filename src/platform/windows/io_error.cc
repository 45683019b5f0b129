#include <windows.h>

#include <cerrno>

#include "platform/platform.h"
#include "platform/windows/windows_error.h"

void SetErrnoFromLastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      errno = ENOENT;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      errno = EACCES;
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      errno = ENOSPC;
      break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      errno = ENOMEM;
      break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      errno = EEXIST;
      break;
    case ERROR_FILENAME_EXCED_RANGE:
      errno = ENAMETOOLONG;
      break;
    default:
      errno = EIO;
  }
}

// Windows' own disk-full and write-protect errors arrive as ENOSPC and EACCES.
FailureKind KindOfFailure(IoFailure failure) {
  switch (failure.code) {
    case ENOSPC:
    case EFBIG:
      return FailureKind::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return FailureKind::NoPermission;
  }
  return FailureKind::Other;
}

// errno first: the C library's file calls set it and leave GetLastError as they please.
IoFailure LastIoFailure() {
  if (errno > 0) return {errno <= 255 ? errno : 255};
  const DWORD last = GetLastError();
  if (last > 0) return {last <= 255 ? static_cast<int>(last) : 255};
  return {EIO};  // a failure that left no number still ends with a failure status
}
