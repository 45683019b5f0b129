// Plain output on Windows: the C library's standard streams, whose text mode ends each line with
// CR LF. The console takes bytes 128-255 as characters of its code page, never as commands.
#include "console/plain_output.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>

namespace {

int failure = 0;  // errno of the first write that did not get through

void Note(bool ok) {
  if (!ok && failure == 0) failure = errno ? errno : EIO;
}

}  // namespace

void PrintLine(std::string_view text, PlainStream stream) {
  std::string line(text);
  for (char& c : line)
    if (static_cast<uint8_t>(c) < 32 || c == 127) c = '?';
  line += '\n';
  FILE* file = stream == PlainStream::Output ? stdout : stderr;
  Note(std::fwrite(line.data(), 1, line.size(), file) == line.size());
}

bool FinishPrinting() {
  Note(std::fflush(stdout) == 0);
  Note(std::fflush(stderr) == 0);
  errno = failure;
  return failure == 0;
}

// Arguments come in the ANSI code page; typed keys in the console's own (the OEM one).
std::optional<std::string> ArgumentAsTyped(std::string_view argument) {
  if (argument.empty()) return std::string();
  const int size = static_cast<int>(argument.size());
  std::wstring wide(argument.size(), L'\0');
  const int characters =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, argument.data(), size, wide.data(), size);
  if (characters == 0) return std::nullopt;
  const UINT codePage = GetConsoleCP() != 0 ? GetConsoleCP() : GetOEMCP();
  std::string converted(static_cast<size_t>(characters) * 2, '\0');
  BOOL unmapped = FALSE;
  const int bytes =
      WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), characters, converted.data(),
                          static_cast<int>(converted.size()), nullptr, &unmapped);
  if (bytes == 0 || unmapped) return std::nullopt;
  converted.resize(static_cast<size_t>(bytes));
  return converted;
}
