#pragma once
// The S/N answer of a question: S, s, N or n, as typed. Every other key, and every extended
// key, is ignored without a word. The cursor is shown while it waits.

#include <cstdint>

#include "input/keys.h"

uint8_t GetYesNoKey(CtrlC ctrlC = CtrlC::IsAKey);

inline bool IsYes(uint8_t answer) { return answer == 'S' || answer == 's'; }
