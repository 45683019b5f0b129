#include "input/keys.h"

#include "console/console.h"

Key GetKey(CtrlC ctrlC) {
  uint8_t character = ReadKeyByte();
  if (character == CtrlCKey && ctrlC == CtrlC::EndsRun) EndByInterrupt();
  if (character != 0) return Key{character, false};
  return Key{ReadKeyByte(), true};
}
