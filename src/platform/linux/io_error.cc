#include <cerrno>

#include "platform/platform.h"

FailureKind KindOfFailure(IoFailure failure) {
  switch (failure.code) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return FailureKind::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return FailureKind::NoPermission;
  }
  return FailureKind::Other;
}

IoFailure LastIoFailure() {
  const int code = errno;
  if (code <= 0) return {EIO};  // a failure that left no number still ends with a failure status
  return {code <= 255 ? code : 255};
}
