// Plain output through the C library's standard streams, the same on every platform; how bytes
// are made harmless is the binding's.
#include "console/plain_output.h"

#include <cerrno>
#include <cstdio>

namespace {

int failure = 0;  // errno of the first write that did not get through

void Note(bool ok) {
  if (!ok && failure == 0) failure = errno ? errno : EIO;
}

}  // namespace

void PrintLine(std::string_view text, PlainStream stream) {
  const std::string line = HarmlessPlainText(text) + "\n";
  FILE* file = stream == PlainStream::Output ? stdout : stderr;
  Note(std::fwrite(line.data(), 1, line.size(), file) == line.size());
}

bool FinishPrinting() {
  Note(std::fflush(stdout) == 0);
  Note(std::fflush(stderr) == 0);
  errno = failure;
  return failure == 0;
}
