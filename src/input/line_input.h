#pragma once
// A short typed answer (a number or a name) with echo and Backspace. No prompt is written:
// the caller places the cursor and sets the colour, and the echo appears there.

#include <optional>
#include <string>

#include "input/keys.h"

enum class InputMode { AnyCharacters, DigitsOnly };

struct InputRules {
  CtrlC ctrlC = CtrlC::IsAKey;
  bool escapeCancels = false;  // Escape leaves the prompt with no answer
  bool emptyAllowed = false;   // Enter alone is an answer (an empty one)
};

struct TypedAnswer {
  std::string text;
  bool cancelled = false;                    // Escape, where it cancels
  std::optional<RunEnd> end = std::nullopt;  // the run ends instead of an answer
};

// Waits for an answer of at most maxLength characters confirmed with Enter (non-empty unless
// the rules allow it); shows the cursor meanwhile and hides it before returning.
TypedAnswer InputLine(int maxLength, InputMode mode, InputRules rules = {});
