// Free memory: what the kernel says it can still hand out without swapping (MemAvailable),
// or the free physical pages where /proc is not mounted.
#include <unistd.h>

#include <cstdio>

#include "platform/platform.h"

int64_t FreeMemoryBytes() {
  if (FILE* file = std::fopen("/proc/meminfo", "r")) {
    char line[256];
    long long kib = -1;
    while (kib < 0 && std::fgets(line, sizeof line, file))
      if (std::sscanf(line, "MemAvailable: %lld kB", &kib) != 1) kib = -1;
    std::fclose(file);
    if (kib >= 0) return static_cast<int64_t>(kib) * 1024;
  }
  return static_cast<int64_t>(sysconf(_SC_AVPHYS_PAGES)) * sysconf(_SC_PAGESIZE);
}
