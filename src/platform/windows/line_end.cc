#include "platform/platform.h"

std::string_view LineEnd() { return "\r\n"; }

// The Windows console moves the cursor to the next row as soon as the last column is written.
bool LastColumnMovesCursorOn() { return true; }
