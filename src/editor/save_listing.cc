#include "editor/save_listing.h"

#include <string>

#include "console/io_check.h"
#include "platform/platform.h"

void SaveListing(int16_t lineCount, const LineTable& lines, const std::string& fileName) {
  // A listing whose lines were all dropped by the loader is not replaced by an empty file.
  if (lineCount <= 0) return;
  std::string contents;
  for (int index = 1; index <= lineCount; ++index) {
    contents += LineText(lines, index);
    contents += LineEnd();
  }
  // The file is replaced whole or not at all; a failure ends the run with its error code.
  CheckIo(ReplaceFileSafely(fileName, contents));
}
