#include <cerrno>

#include "platform/platform.h"

IoFailure LastIoFailure() {
  const int code = errno;
  if (code <= 0) return {EIO};  // a failure that left no number still ends with a failure status
  return {code <= 255 ? code : 255};
}
