#pragma once
// The three banner rows the program shows first and the editor screen keeps at its top.

#include <string_view>

constexpr std::string_view VersionText = "0.5a";

// Clears the screen and writes the banner into rows 1 to 3; the next output starts below it.
void ShowBanner();
