#pragma once
// The banner, the help text and the fatal error: how the program introduces itself and how it
// stops early.

#include <string_view>

constexpr std::string_view VersionText = "0.5a";
// Exit status of a fatal error, so a script can tell a missing file from success.
constexpr int FatalErrorStatus = 1;

void ShowBanner();
[[noreturn]] void ShowUsage(int status = 0);
[[noreturn]] void FatalError(std::string_view message);
