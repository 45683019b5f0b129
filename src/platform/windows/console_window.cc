#include <windows.h>

#include "platform/platform.h"

int ConsoleProcessCount() {
  DWORD processes[2];
  return static_cast<int>(GetConsoleProcessList(processes, 2));
}
