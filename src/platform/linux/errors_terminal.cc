#include <unistd.h>

#include "platform/platform.h"

bool ErrorsGoToTerminal() { return isatty(STDERR_FILENO) == 1; }
