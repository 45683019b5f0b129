#include "platform/platform.h"

std::string_view LineEnd() { return "\n"; }

// An ANSI terminal keeps the cursor on the last column until the next character arrives.
bool LastColumnMovesCursorOn() { return false; }
