#pragma once
// GRAVIX keeps text in code page 437, the PC's character set (the help's 0xA6, names typed with
// accents); the terminal speaks its locale's character set. The C library's iconv converts
// both ways, so the same keys give the same bytes in every locale.

#include <iconv.h>

#include <memory>
#include <string>
#include <string_view>

#include "console/linux/screen_writer.h"

constexpr char Cp437[] = "IBM437";

struct ConversionCloser {
  void operator()(void* conversion) const { iconv_close(conversion); }
};
using Conversion = std::unique_ptr<void, ConversionCloser>;  // empty: none could be opened

Conversion OpenConversion(const std::string& to, const std::string& from);
// Converts all of text into result, or returns false (iconv's errno tells why: EINVAL for a
// character not complete yet); result then holds what converted before the fault.
bool Convert(iconv_t conversion, std::string_view text, std::string& result);

// Text in the locale's set as code page 437, character by character: "?" for each one the code
// page lacks or that is broken.
std::string LocaleToCp437(iconv_t toCp437, std::string_view text);

// How each byte 128-255 is shown in charset: one character, transliterated where the set lacks
// it; "?" where even that fails or would take more than one cell.
void ShowUpperHalfIn(const char* charset, UpperHalfTexts& texts);

// Typed characters on their way from the terminal's character set to code page 437.
struct TypedText {
  Conversion toCp437;
  std::string pending;  // a character begun, not complete yet
};

void OpenTypedText(TypedText& typed, const char* charset);
// Appends decoded key bytes to keys: ASCII and scan codes as they are, other characters as
// their code page 437 byte, or nothing when it has none.
void AppendTyped(TypedText& typed, std::string_view decoded, std::string& keys);
