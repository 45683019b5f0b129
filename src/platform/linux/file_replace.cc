// Replacing a file so that a failure never leaves it cut: a synced temporary file renamed over
// it, or, where the file's identity forbids that, a rewrite in place that puts the old bytes
// back if it fails.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/linux/end_signals.h"
#include "platform/platform.h"

namespace {

bool WriteAll(int file, std::string_view bytes) {
  off_t offset = 0;
  while (!bytes.empty()) {
    const ssize_t written = pwrite(file, bytes.data(), bytes.size(), offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;  // no progress and no reason: it would never end
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
    offset += written;
  }
  return true;
}

bool ReadAll(int file, std::string& bytes) {
  char buffer[4096];
  for (off_t offset = 0;;) {
    const ssize_t got = pread(file, buffer, sizeof buffer, offset);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    bytes.append(buffer, static_cast<size_t>(got));
    offset += got;
  }
}

// Closes the file and keeps errno as the failure that came before.
bool Fail(int file) {
  const int error = errno;
  close(file);
  errno = error;
  return false;
}

// Overwrites the file through its own name, so its links, owner and mode stay. The old
// contents are held meanwhile and written back if the new ones do not fit.
bool RewriteInPlace(const std::string& path, std::string_view contents) {
  int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  std::string old;
  const bool haveOld = file >= 0;
  if (haveOld && !ReadAll(file, old)) return Fail(file);
  // A file we may write but not read is rewritten without the way back. When there is no
  // such file either, the refusal to create it is the error to report.
  if (!haveOld && errno == EACCES) {
    file = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (file < 0 && errno == ENOENT) errno = EACCES;
  }
  if (file < 0) return false;
  if (WriteAll(file, contents) && ftruncate(file, static_cast<off_t>(contents.size())) == 0 &&
      fsync(file) == 0)
    return close(file) == 0;
  const int error = errno;
  if (haveOld && WriteAll(file, old)) (void)!ftruncate(file, static_cast<off_t>(old.size()));
  errno = error;
  return Fail(file);
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The rename reaches the disk only with its directory; a failure here cannot undo it, and
// the file already holds the new contents either way.
void SyncDirectory(const std::string& directory) {
  const int file = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (file < 0) return;
  (void)fsync(file);
  close(file);
}

// Gives the temporary file the owner and mode of the file it replaces; false when the owner
// cannot be kept (only root may give a file away).
bool TakeIdentity(int file, const struct stat& old) {
  struct stat fresh;
  if (fstat(file, &fresh) != 0) return false;
  if ((fresh.st_uid != old.st_uid || fresh.st_gid != old.st_gid) &&
      fchown(file, old.st_uid, old.st_gid) != 0)
    return false;
  // After the owner: changing the owner clears the set-id bits.
  return fchmod(file, old.st_mode & 07777) == 0;
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

enum class Move { Done, Failed, Refused };

// A synced temporary file beside target, renamed over it. Refused (and nothing changed) where
// the new file cannot take old's owner and mode, the directory takes no temporary file, or the
// rename is refused for a reason a rewrite in place gets round.
Move MoveNewFileOver(const std::string& target, std::string_view contents, const struct stat* old) {
  const std::string directory = DirectoryOf(target);
  std::string temporary = directory + "/.gravix-XXXXXX";
  const int file = mkostemp(temporary.data(), O_CLOEXEC);
  if (file < 0) return Move::Refused;
  const bool identityKept = old ? TakeIdentity(file, *old) : fchmod(file, NewFileMode()) == 0;
  if (!identityKept) {
    close(file);
    unlink(temporary.c_str());
    return Move::Refused;
  }
  if (!WriteAll(file, contents) || fsync(file) != 0) {
    Fail(file);
    const int error = errno;
    unlink(temporary.c_str());
    errno = error;
    return Move::Failed;
  }
  if (close(file) != 0 || rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    errno = error;
    return error == EXDEV || error == EBUSY || error == EPERM ? Move::Refused : Move::Failed;
  }
  SyncDirectory(directory);
  return Move::Done;
}

bool ReplaceSameFile(const std::string& path, std::string_view contents) {
  // A symbolic link stays a link: the file it names is replaced.
  std::string target = path;
  if (char* resolved = realpath(path.c_str(), nullptr)) {
    target = resolved;
    std::free(resolved);
  } else {
    struct stat link;
    if (errno != ENOENT) return false;
    // A link to a file that does not exist yet: writing through it creates that file.
    if (lstat(path.c_str(), &link) == 0) return RewriteInPlace(path, contents);
  }

  struct stat old;
  const bool exists = stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return false;
  if (exists && !S_ISREG(old.st_mode)) {
    errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
    return false;
  }
  // A rename would split the hard links apart.
  if (exists && old.st_nlink > 1) return RewriteInPlace(target, contents);
  switch (MoveNewFileOver(target, contents, exists ? &old : nullptr)) {
    case Move::Done:
      return true;
    case Move::Failed:
      return false;
    case Move::Refused:
      break;
  }
  return RewriteInPlace(target, contents);
}

// The name gets a new file of its own; whatever it named before is left as it was.
bool ReplaceName(const std::string& path, std::string_view contents) {
  return MoveNewFileOver(path, contents, nullptr) == Move::Done;
}

}  // namespace

bool CanCreateFile(const std::string& path) {
  return access(DirectoryOf(path).c_str(), W_OK | X_OK) == 0;
}

std::optional<IoFailure> ReplaceFileSafely(const std::string& path, std::string_view contents,
                                           Replacement replacement) {
  // An end signal waits until the file is whole and the temporary file gone; it ends the run
  // as soon as the replacement is over.
  sigset_t endSignals, previous;
  sigemptyset(&endSignals);
  for (int signalNumber : EndSignals) sigaddset(&endSignals, signalNumber);
  sigprocmask(SIG_BLOCK, &endSignals, &previous);
  const bool replaced = replacement == Replacement::SameFile ? ReplaceSameFile(path, contents)
                                                             : ReplaceName(path, contents);
  const IoFailure failure = LastIoFailure();
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  if (replaced) return std::nullopt;
  return failure;
}
