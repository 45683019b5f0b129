#include "input/keys.h"

#include "console/console.h"

Key GetKey() {
  uint8_t character = ReadKeyByte();
  if (character != 0) return Key{character, false};
  return Key{ReadKeyByte(), true};
}
