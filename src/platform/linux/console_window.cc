#include "platform/platform.h"

// A terminal belongs to whoever opened it, never to GRAVIX alone.
int ConsoleProcessCount() { return 0; }
