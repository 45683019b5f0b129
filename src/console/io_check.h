#pragma once
// Every file and console operation whose failure the program does not handle itself is
// checked right after it returns; a failure ends the run with "Runtime error <code>".

#include "console/console.h"
#include "platform/platform.h"

inline void CheckIo(bool ok) {
  if (!ok) EndWithIoError(IoErrorCode());
}
