// Plain output on Linux: the text as the locale has it, but for what a terminal could obey.
#include "console/plain_output.h"

#include <langinfo.h>

#include <clocale>

#include "console/console.h"
#include "console/linux/charset.h"

namespace {

// The length of a well-formed UTF-8 sequence at text[at], or 0.
size_t Utf8Length(std::string_view text, size_t at) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[at + k]); };
  const uint8_t lead = byte(0);
  const size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k)
    if ((byte(k) & 0xC0) != 0x80) return 0;
  return length;
}

}  // namespace

// Controls, DEL and the C1 controls (bytes 128-159, or their UTF-8 form) become "?", so neither
// a UTF-8 terminal nor an 8-bit one takes any of them for a command. Other characters stay as
// the locale has them.
std::string HarmlessPlainText(std::string_view text) {
  std::string shown;
  for (size_t at = 0; at < text.size();) {
    const auto c = static_cast<uint8_t>(text[at]);
    const size_t length = c >= 0x80 ? Utf8Length(text, at) : 1;
    const bool c1 = length == 2 && c == 0xC2 && static_cast<uint8_t>(text[at + 1]) < 0xA0;
    if (ShownByte(c) != c || (length == 0 && c < 0xA0) || c1)
      shown += '?';
    else
      shown.append(text.substr(at, length == 0 ? 1 : length));
    at += length == 0 ? 1 : length;
  }
  return shown;
}

std::string CharacterLocale() {
  const char* name = std::setlocale(LC_CTYPE, "");
  return name ? name : "C";
}

bool LocaleIsAscii() {
  std::setlocale(LC_CTYPE, "");
  return std::string_view(nl_langinfo(CODESET)) == "ANSI_X3.4-1968";
}

std::optional<std::string> ArgumentAsTyped(std::string_view argument) {
  std::setlocale(LC_CTYPE, "");
  const Conversion toCp437 = OpenConversion(Cp437, nl_langinfo(CODESET));
  std::string converted;
  if (!toCp437 || !Convert(toCp437.get(), argument, converted)) return std::nullopt;
  return converted;
}
