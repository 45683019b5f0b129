#pragma once
// A short typed answer (a number or a name) with echo and Backspace. No prompt is written:
// the caller places the cursor and sets the colour, and the echo appears there.

#include <optional>
#include <string>

#include "input/keys.h"

enum class InputMode { AnyCharacters, DigitsOnly };

struct TypedAnswer {
  std::string text;           // never empty when there is no end
  std::optional<RunEnd> end;  // the run ends instead of an answer
};

// Waits for a non-empty answer of at most maxLength characters confirmed with Enter; shows the
// cursor meanwhile and hides it before returning.
TypedAnswer InputLine(int maxLength, InputMode mode, CtrlC ctrlC = CtrlC::IsAKey);
