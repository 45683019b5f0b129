#pragma once
// The S/N answer of a question: S, s, N or n, as typed. Every other key, and every extended
// key, is ignored without a word. The cursor is shown while it waits.

#include <cstdint>

#include "input/keys.h"

// The answering key, or a key that carries the run's end.
Key GetYesNoKey(CtrlC ctrlC = CtrlC::IsAKey);

inline bool IsYes(const Key& answer) { return answer.character == 'S' || answer.character == 's'; }
