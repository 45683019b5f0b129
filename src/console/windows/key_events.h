#pragma once
// Console input records as the key bytes ReadKeyByte delivers: a key with a character is
// that character, a key without one is 0 followed by its PC scan code.

#include <windows.h>

#include <string>

// Appends the bytes of one input record to keys; records that are no key press add nothing.
void TranslateInputRecord(const INPUT_RECORD& record, std::string& keys);
