#include "input/keys.h"

#include <cerrno>

namespace {

// No key came: the console says why.
Key Ended() { return Key{0, false, ConsoleEnd().value_or(EndByFailure({EIO}))}; }

}  // namespace

Key GetKey(CtrlC ctrlC) {
  const std::optional<uint8_t> character = ReadKeyByte();
  if (!character) return Ended();
  if (*character == CtrlCKey && ctrlC == CtrlC::EndsRun)
    return Key{0, false, RunEnd{RunEnd::Interrupt}};
  if (*character != 0) return Key{*character, false};
  const std::optional<uint8_t> scanCode = ReadKeyByte();
  if (!scanCode) return Ended();
  return Key{*scanCode, true};
}
