#pragma once
// How the program stops early: the help text, and a fatal error followed by the help.

#include <string_view>

// Exit status of a fatal error, so a script can tell a missing file from success.
constexpr int FatalErrorStatus = 1;

// A console window that GRAVIX has to itself (started from the Explorer, or by dropping a file on
// it) closes with the program: the help and the fatal errors then wait for a key first.
bool WindowClosesWithProgram(int consoleProcesses);

[[noreturn]] void ShowUsage(int status = 0);
[[noreturn]] void FatalError(std::string_view message);
