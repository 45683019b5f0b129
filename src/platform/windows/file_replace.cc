// Safe replacement: the new contents go to a temporary file in the same directory, are flushed
// to the disk, and the temporary file is moved over the old one, so a failure leaves either
// the old file or the new one, never a cut one.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/platform.h"
#include "platform/windows/windows_error.h"

namespace {

// The directory part with its separator, so "C:\" stays a root; "." for a bare name.
std::string DirectoryOf(const std::string& path) {
  const size_t separator = path.find_last_of("/\\:");
  return separator == std::string::npos ? "." : path.substr(0, separator + 1);
}

bool WriteAllBytes(HANDLE file, std::string_view contents) {
  while (!contents.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size(), 1 << 20));
    DWORD written = 0;
    if (!WriteFile(file, contents.data(), chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    contents.remove_prefix(written);
  }
  return true;
}

bool ReadAllBytes(HANDLE file, std::string& bytes) {
  char buffer[4096];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) return false;
    if (got == 0) return true;
    bytes.append(buffer, got);
  }
}

bool WriteFromStart(HANDLE file, std::string_view contents) {
  return SetFilePointer(file, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
         WriteAllBytes(file, contents) && SetEndOfFile(file);
}

// Used where moving a new file over the name would part the name from the file it names, or
// where Windows refuses the move: the same file receives the contents. The old ones are held
// meanwhile and written back if the new ones do not fit.
bool RewriteInPlace(const std::string& path, std::string_view contents) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    SetErrnoFromLastError();
    return false;
  }
  std::string old;
  bool ok = ReadAllBytes(file, old);
  if (ok) {
    ok = WriteFromStart(file, contents) && FlushFileBuffers(file);
    if (!ok) {
      SetErrnoFromLastError();
      WriteFromStart(file, old);
    }
  } else {
    SetErrnoFromLastError();
  }
  CloseHandle(file);
  return ok;
}

// Several hard links, or a symbolic link (a reparse point): a move would replace only this
// name, so the file keeps its identity by being rewritten in place.
bool MustKeepIdentity(const std::string& path) {
  const HANDLE file = CreateFileA(
      path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool keep =
      GetFileInformationByHandle(file, &info) &&
      (info.nNumberOfLinks > 1 || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT));
  CloseHandle(file);
  return keep;
}

// What a replacement hands on from the old file to the new one.
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                 FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                 FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

enum class Move { Done, Failed, Refused };

// A flushed temporary file beside path, moved over it with the old file's attributes. Refused
// (errno set, nothing changed) where the folder takes no temporary file or the move is refused.
Move MoveNewFileOver(const std::string& path, std::string_view contents) {
  char temporary[MAX_PATH];
  if (GetTempFileNameA(DirectoryOf(path).c_str(), "grv", 0, temporary) == 0) {
    SetErrnoFromLastError();
    return Move::Refused;
  }
  const HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    SetErrnoFromLastError();
    DeleteFileA(temporary);
    return Move::Refused;
  }
  const bool written = WriteAllBytes(file, contents) && FlushFileBuffers(file);
  if (!written) SetErrnoFromLastError();
  CloseHandle(file);
  if (!written) {
    DeleteFileA(temporary);  // the old file stays as it was
    return Move::Failed;
  }
  // A read-only file refuses to be replaced: it is made writable for the move, and the new
  // file gets its attributes back.
  const DWORD old = GetFileAttributesA(path.c_str());
  const bool hadOld = old != INVALID_FILE_ATTRIBUTES;
  if (hadOld && (old & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(path.c_str(), old & ~FILE_ATTRIBUTE_READONLY);
  if (MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    if (hadOld && (old & KeptAttributes)) SetFileAttributesA(path.c_str(), old & KeptAttributes);
    return Move::Done;
  }
  SetErrnoFromLastError();
  if (hadOld) SetFileAttributesA(path.c_str(), old);
  DeleteFileA(temporary);
  return Move::Refused;
}

bool ReplaceSameFile(const std::string& path, std::string_view contents) {
  if (MustKeepIdentity(path)) return RewriteInPlace(path, contents);
  switch (MoveNewFileOver(path, contents)) {
    case Move::Done:
      return true;
    case Move::Failed:
      return false;
    case Move::Refused:
      break;
  }
  return RewriteInPlace(path, contents);
}

}  // namespace

std::optional<IoFailure> ReplaceFileSafely(const std::string& path, std::string_view contents,
                                           Replacement replacement) {
  const bool replaced = replacement == Replacement::SameFile
                            ? ReplaceSameFile(path, contents)
                            : MoveNewFileOver(path, contents) == Move::Done;
  if (replaced) return std::nullopt;
  return LastIoFailure();
}

// Whether a folder takes new files is only known by trying; that it exists is what can be
// told without writing.
bool CanCreateFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(DirectoryOf(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
