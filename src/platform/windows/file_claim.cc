// A claim held by a named mutex: Windows drops it with the process, however the process ends,
// and no file is left behind.
#include <windows.h>

#include <cctype>
#include <string>

#include "platform/platform.h"

bool ClaimFileName(const std::string& path) {
  char full[MAX_PATH];
  std::string name = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr) ? full : path;
  // Backslashes may not appear in a mutex name; case does not tell files apart on Windows.
  for (char& c : name)
    c = c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const HANDLE claim =
      CreateMutexA(nullptr, FALSE, ("Local\\gravix-" + name).substr(0, MAX_PATH).c_str());
  if (!claim) return true;  // no way to tell: the run goes on as if alone
  if (GetLastError() != ERROR_ALREADY_EXISTS) return true;  // kept open
  CloseHandle(claim);
  return false;
}
