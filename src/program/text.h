#pragma once
// Texts the program builds are at most 255 characters; longer ones lose their tail.

#include <string>

constexpr size_t MaxTextLength = 255;

inline std::string CutText(std::string text, size_t maxLength = MaxTextLength) {
  if (text.size() > maxLength) text.resize(maxLength);
  return text;
}
