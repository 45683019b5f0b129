#pragma once
// The few operating-system facts the rest of GRAVIX needs. One implementation per platform
// (linux/, windows/) is linked; nothing outside this folder asks which platform it runs on.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A file or console operation that failed, by the system's error number (1 to 255), which is
// also the status a run ends with when the failure ends it.
struct IoFailure {
  int code;
};
// The failure errno (or the last Windows error) describes; never code 0.
IoFailure LastIoFailure();

// What a failure means to a user: no room left, no permission, or something else.
enum class FailureKind { DiskFull, NoPermission, Other };
FailureKind KindOfFailure(IoFailure failure);

// Line end of text files and of WriteLine: "\n" on Linux, "\r\n" on Windows.
std::string_view LineEnd();

// True where writing the last column of a row moves the cursor to the next row at once
// (the Windows console); false where it waits for the next character (ANSI terminals).
bool LastColumnMovesCursorOn();

// Bytes of memory the system can still give this process, read afresh at each call.
int64_t FreeMemoryBytes();

// A seed for the loader's activity indicator.
uint32_t ClockSeed();

enum class FileKind { Missing, Regular, Directory, Other, Link };
// What the name leads to, symbolic links followed (never Link).
FileKind GetFileKind(const std::string& path);
// What the name itself is: a symbolic link is Link, whatever it points to.
FileKind GetEntryKind(const std::string& path);

// Enough of a file's identity and state to tell that someone else wrote it: which file the name
// leads to, its size and when it was last written.
struct FileStamp {
  bool exists = false;
  uint64_t volume = 0;
  uint64_t index = 0;
  uint64_t size = 0;
  int64_t written = 0;  // nanoseconds, or the platform's finest unit
  bool operator==(const FileStamp&) const = default;
};
FileStamp GetFileStamp(const std::string& path);

// When the file was last written, in the local time zone.
struct LocalTime {
  int day, month, year, hour, minute;
};
std::optional<LocalTime> FileWrittenAt(const std::string& path);

// Claims the file name for this process alone until it ends, however it ends: false when
// another process holds the claim. Nothing is written anywhere: the system holds the claim.
bool ClaimFileName(const std::string& path);

// True when both names exist and name the same file (symlinks followed, hard links equal).
bool SameFile(const std::string& a, const std::string& b);

enum class Replacement {
  // The file keeps being itself: where a rename would part it from its name (several hard
  // links, an owner we cannot keep, a directory without room for a temporary file, a refused
  // rename) it is rewritten in place; a symbolic link stays a link and its target gets the
  // contents; its owner, mode or attributes stay.
  SameFile,
  // A new file takes the name, whatever the name was (a symbolic link is itself replaced); if
  // that cannot be done, nothing changes.
  NewFile,
};

// Replaces path's contents with contents so that a failure never leaves it cut: the bytes go
// to a temporary file beside it, are synced, and the temporary file is renamed over it. No
// temporary file is left behind either way.
std::optional<IoFailure> ReplaceFileSafely(const std::string& path, std::string_view contents,
                                           Replacement replacement = Replacement::SameFile);

// True when a file of that name could be created now: its folder exists and may be written.
bool CanCreateFile(const std::string& path);

// How many processes share this process's console window: 1 when the window is its own (a
// program started from the Windows Explorer), 0 where there are no console windows (Linux).
int ConsoleProcessCount();

// True when standard error is a terminal, where a long run may show how far it got.
bool ErrorsGoToTerminal();
