// A claim held by binding an abstract socket named after the file: the kernel drops it with the
// process, however the process ends, and no file is left behind.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

// The same file however it is named: its folder's real path and its own name.
std::string CanonicalName(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (char* real = realpath(folder.c_str(), nullptr)) {
    name = std::string(real) + "/" + name;
    std::free(real);
  }
  return name;
}

// 64-bit FNV-1a: an abstract socket name has room for a digest, not for any path.
uint64_t Digest(const std::string& text) {
  uint64_t hash = 14695981039346656037u;
  for (const char c : text) hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211u;
  return hash;
}

}  // namespace

bool ClaimFileName(const std::string& path) {
  const int claim = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (claim < 0) return true;  // no way to tell: the run goes on as if alone
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string name = "gravix-" + std::to_string(Digest(CanonicalName(path)));
  std::memcpy(address.sun_path + 1, name.data(), name.size());  // sun_path[0] = 0: abstract
  const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  if (bind(claim, reinterpret_cast<const sockaddr*>(&address), size) == 0)
    return true;  // kept open
  close(claim);
  return false;
}
