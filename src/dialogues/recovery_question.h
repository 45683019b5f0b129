#pragma once
// The question a start asks when a run before it left changes not saved in the recovery file.

#include <optional>
#include <string>

#include "console/console.h"

struct RecoveryAnswer {
  bool recover = false;                      // S: the editor opens on the recovered lines
  std::optional<RunEnd> end = std::nullopt;  // Ctrl+C ended the run instead
};

// Below the banner: the recovery file's name and when it was written, then the S/N question.
RecoveryAnswer AskToRecover(const std::string& recoveryName);
