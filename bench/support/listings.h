#pragma once
// Made-up listings for the benchmarks: correct lines of varied data, the same in every run.

#include <cstdint>
#include <filesystem>
#include <string>

// Line number's 20 data digits, different for every line.
std::string DataDigitsOf(int lineNumber);
// The line in stored form: "number data checksum", the checksum matching.
std::string CorrectLine(int lineNumber);
// A whole listing file of lines 1..lineCount in stored form, "\n" after each.
std::string ListingText(int lineCount);
void WriteListing(const std::filesystem::path& path, int lineCount);
// The same data bytes as assembler source: "defb" lines from address 0.
std::string DefbSource(int lineCount);

// /dev/shm when it is there (tmpfs: no disk in the figures), else the temporary directory.
std::filesystem::path FastDirectory();
