// Console operations that are the same in every binding, built on PutText.
#include <string>

#include "console/console.h"
#include "platform/platform.h"

namespace {

void PutText(std::string_view text) {
  for (char c : text) WriteChar(static_cast<uint8_t>(c));
}

}  // namespace

void WriteText(std::string_view text, int width) {
  if (width > static_cast<int>(text.size()))
    PutText(std::string(static_cast<size_t>(width) - text.size(), ' '));
  PutText(text);
}

void WriteNumber(int32_t number) { PutText(std::to_string(number)); }

void WriteLine(std::string_view text) {
  PutText(text);
  PutText(LineEnd());
}

std::string ControlBytesShown(std::string_view text) {
  std::string shown(text);
  for (char& c : shown) c = static_cast<char>(ShownByte(static_cast<uint8_t>(c)));
  return shown;
}

void WriteDataText(std::string_view text, int width) { WriteText(ControlBytesShown(text), width); }
