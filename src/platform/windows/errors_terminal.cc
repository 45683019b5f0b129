#include <io.h>

#include <cstdio>

#include "platform/platform.h"

bool ErrorsGoToTerminal() { return _isatty(_fileno(stderr)) != 0; }
