#pragma once
// The three banner rows the program shows first and the editor screen keeps at its top.

#include <string_view>

// Set by the build, in one place for the banner, --version and the packages.
constexpr std::string_view VersionText = GRAVIX_VERSION_TEXT;

// Clears the screen and writes the banner into rows 1 to 3; the next output starts below it.
void ShowBanner();
