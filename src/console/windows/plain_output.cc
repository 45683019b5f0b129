// Plain output on Windows, where the standard streams' text mode ends each line with CR LF. The
// console takes bytes 128-255 as characters of its code page, never as commands.
#include "console/plain_output.h"

#include <windows.h>

#include "console/console.h"

std::string HarmlessPlainText(std::string_view text) { return ControlBytesShown(text); }

std::string CharacterLocale() { return ""; }
bool LocaleIsAscii() { return false; }  // every ANSI code page reaches past ASCII

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
