#pragma once
// How the program stops early: the help text, and a fatal error followed by the help.

#include <string_view>

// Exit status of a fatal error, so a script can tell a missing file from success.
constexpr int FatalErrorStatus = 1;

[[noreturn]] void ShowUsage(int status = 0);
[[noreturn]] void FatalError(std::string_view message);
