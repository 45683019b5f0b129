#include "console/linux/charset.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <cwchar>

Conversion OpenConversion(const std::string& to, const std::string& from) {
  const iconv_t conversion = iconv_open(to.c_str(), from.c_str());
  return Conversion(conversion == reinterpret_cast<iconv_t>(-1) ? nullptr : conversion);
}

bool Convert(iconv_t conversion, std::string_view text, std::string& result) {
  // No character of any set takes more than 4 bytes in another.
  result.resize(text.size() * 4 + 8);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* out = result.data();
  size_t outLeft = result.size();
  iconv(conversion, nullptr, nullptr, nullptr, nullptr);
  const bool whole = iconv(conversion, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1) &&
                     iconv(conversion, nullptr, nullptr, &out, &outLeft) != static_cast<size_t>(-1);
  result.resize(result.size() - outLeft);
  return whole;
}

namespace {

// One printable character, no control code of any kind.
bool OnePrintableCharacter(iconv_t toUnicode, std::string_view text) {
  std::string unicode;
  if (!Convert(toUnicode, text, unicode) || unicode.size() != 4) return false;
  uint32_t codePoint;
  std::memcpy(&codePoint, unicode.data(), 4);  // wchar_t: UCS-4 in this machine's order
  return codePoint >= 0xA0 || (codePoint >= 0x20 && codePoint < 0x7F);
}

}  // namespace

std::string LocaleToCp437(iconv_t toCp437, std::string_view text) {
  std::string shown, converted;
  std::mbstate_t state{};
  for (size_t at = 0; at < text.size();) {
    const size_t length = std::mbrlen(text.data() + at, text.size() - at, &state);
    if (length == 0 || length > text.size() - at) {  // broken, or cut short: one byte goes
      state = {};
      shown += '?';
      ++at;
      continue;
    }
    const std::string_view character = text.substr(at, length);
    const bool ascii = length == 1 && static_cast<uint8_t>(character[0]) < 128;
    shown += ascii ? std::string(character)
             : toCp437 && Convert(toCp437, character, converted) && converted.size() == 1
                 ? converted
                 : "?";
    at += length;
  }
  return shown;
}

void ShowUpperHalfIn(const char* charset, UpperHalfTexts& texts) {
  const Conversion fromCp437 = OpenConversion(std::string(charset) + "//TRANSLIT", Cp437);
  const Conversion toUnicode = OpenConversion("WCHAR_T", charset);
  for (int byte = 128; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    std::string& text = texts[byte - 128];
    if (!fromCp437 || !toUnicode || !Convert(fromCp437.get(), std::string_view(&c, 1), text) ||
        !OnePrintableCharacter(toUnicode.get(), text))
      text.assign(1, '?');
  }
}

void OpenTypedText(TypedText& typed, const char* charset) {
  typed.toCp437 = OpenConversion(Cp437, charset);
  typed.pending.clear();
}

void AppendTyped(TypedText& typed, std::string_view decoded, std::string& keys) {
  for (size_t i = 0; i < decoded.size(); ++i) {
    const uint8_t byte = static_cast<uint8_t>(decoded[i]);
    if (byte == 0 && i + 1 < decoded.size()) {  // a navigation key: 0 and its scan code
      typed.pending.clear();
      keys += decoded.substr(i, 2);
      ++i;
      continue;
    }
    if (typed.pending.empty() && byte < 128) {
      keys.push_back(static_cast<char>(byte));
      continue;
    }
    if (!typed.toCp437) continue;
    typed.pending.push_back(static_cast<char>(byte));
    // A byte that cannot start a character is dropped and the rest tried again, so a broken
    // character never takes the key after it along.
    std::string converted;
    while (!typed.pending.empty() && !Convert(typed.toCp437.get(), typed.pending, converted)) {
      if (errno == EINVAL && typed.pending.size() < 8) break;  // more bytes to come
      typed.pending.erase(0, 1);
    }
    if (!typed.pending.empty() && !converted.empty()) {
      keys += converted;
      typed.pending.clear();
    }
  }
}
