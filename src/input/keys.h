#pragma once
// Keys as the program reads them: one press, its character or, for a navigation key, its
// scan code (console/console.h names them). Nothing here writes: the caller places the cursor
// and shows it where it wants.

#include <cstdint>
#include <optional>

#include "console/console.h"

struct Key {
  uint8_t character = 0;  // with extended set: the scan code (UpScan, DownScan, ...)
  bool extended = false;
  // Set: no key came and none will; the run ends this way. Everything that waits for a key
  // hands it up to the program's top.
  std::optional<RunEnd> end = std::nullopt;
};

constexpr uint8_t CtrlCKey = 3;
constexpr uint8_t BackspaceKey = 8;
constexpr uint8_t TabKey = 9;
constexpr uint8_t EnterKey = 13;
constexpr uint8_t EscapeKey = 27;

// What Ctrl+C does at a key wait: it is a key like any other, or it ends the run (before the
// editor opens, when nothing typed in GRAVIX can be lost).
enum class CtrlC { IsAKey, EndsRun };

// Waits for one key press.
Key GetKey(CtrlC ctrlC = CtrlC::IsAKey);
