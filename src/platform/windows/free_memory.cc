// Free memory: the physical memory Windows reports as available, the counterpart of Linux's
// MemAvailable.
#include <windows.h>

#include "platform/platform.h"

int64_t FreeMemoryBytes() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return 0;
  return static_cast<int64_t>(status.ullAvailPhys);
}
