#include <cerrno>
#include <chrono>

#include "platform/platform.h"

int IoErrorCode() {
  int code = errno;
  if (code <= 0) return EIO;  // a failure that left no number still ends with a failure status
  return code <= 255 ? code : 255;
}

uint32_t ClockSeed() {
  return static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}
