#pragma once
// The S/N answer of a question: S, s, N or n, as typed. Every other key, and every extended
// key, is ignored without a word. The cursor is shown while it waits.

#include <cstdint>

#include "input/keys.h"

enum class Escape { Ignored, Cancels };

// The answering key, or a key that carries the run's end; where Escape cancels, Escape too.
Key GetYesNoKey(CtrlC ctrlC = CtrlC::IsAKey, Escape escape = Escape::Ignored);

inline bool IsYes(const Key& answer) {
  return !answer.extended && (answer.character == 'S' || answer.character == 's');
}
