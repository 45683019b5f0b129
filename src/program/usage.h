#pragma once
// The help, in the two forms it takes: the help screen (no argument, or after a fatal error)
// and the plain --help text; the version line; and the fatal error, the help's early end.

#include <string_view>

#include "console/console.h"

// Exit status of a fatal error, so a script can tell a missing file from success.
constexpr int FatalErrorStatus = 1;

// The help text on the screen; the run then ends with status. A console window of its own
// (started from the Windows Explorer) waits for a key first.
RunEnd ShowUsage(int status = 0);
// The error line in yellow, a bell, then the help screen; status FatalErrorStatus.
RunEnd FatalError(std::string_view message);

// The same as plain lines once the terminal is given back, where the screen cannot show it
// (a terminal too small): the terminal wraps them, so they read whole.
RunEnd PlainFatalError(std::string_view message);

// gravix --help and --version: plain lines, for a pipe. Return the exit status.
int PrintHelp();
int PrintVersion();
