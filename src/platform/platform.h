#pragma once
// The few operating-system facts the rest of GRAVIX needs. One implementation per platform
// (linux/, windows/) is linked; nothing outside this folder asks which platform it runs on.

#include <cstdint>
#include <string>
#include <string_view>

// Line end of text files and of WriteLine: "\n" on Linux, "\r\n" on Windows.
std::string_view LineEnd();

// True where writing the last column of a row moves the cursor to the next row at once
// (the Windows console); false where it waits for the next character (ANSI terminals).
bool LastColumnMovesCursorOn();

// Bytes of memory the system can still give this process, read afresh at each call.
int64_t FreeMemoryBytes();

// A seed for the loader's activity indicator.
uint32_t ClockSeed();

enum class FileKind { Missing, Regular, Directory, Other };
FileKind GetFileKind(const std::string& path);

// True when both names exist and name the same file (symlinks followed, hard links equal).
bool SameFile(const std::string& a, const std::string& b);

// Replaces path's contents with contents so that a failure never leaves it cut: the bytes go
// to a temporary file beside it, are synced, and the temporary file is renamed over it. Where
// that cannot be done while keeping the file's identity (several hard links, an owner we cannot
// keep, a directory without room for a temporary file, a refused rename) the file is rewritten
// in place instead. A symbolic link stays a link: its target receives the contents. On failure
// returns false with errno set; no temporary file is left behind.
bool ReplaceFileSafely(const std::string& path, std::string_view contents);

// True when a file of that name could be created now: its folder exists and may be written.
bool CanCreateFile(const std::string& path);

// How many processes share this process's console window: 1 when the window is its own (a
// program started from the Windows Explorer), 0 where there are no console windows (Linux).
int ConsoleProcessCount();

// True when standard error is a terminal, where a long run may show how far it got.
bool ErrorsGoToTerminal();

// errno (or the last Windows error) as a Runtime error code from 1 to 255, never 0.
int IoErrorCode();
