#include <sys/stat.h>

#include <ctime>

#include "platform/platform.h"

FileKind GetFileKind(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return FileKind::Missing;
  if (S_ISREG(info.st_mode)) return FileKind::Regular;
  if (S_ISDIR(info.st_mode)) return FileKind::Directory;
  return FileKind::Other;
}

FileKind GetEntryKind(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return FileKind::Missing;
  if (S_ISLNK(info.st_mode)) return FileKind::Link;
  return GetFileKind(path);
}

FileStamp GetFileStamp(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return {};
  return {true, static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
          static_cast<uint64_t>(info.st_size),
          static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

std::optional<LocalTime> FileWrittenAt(const std::string& path) {
  struct stat info;
  struct tm local;
  if (stat(path.c_str(), &info) != 0 || !localtime_r(&info.st_mtime, &local)) return std::nullopt;
  return LocalTime{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900, local.tm_hour,
                   local.tm_min};
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
