#include "input/yes_no.h"

#include <string_view>

#include "console/console.h"

Key GetYesNoKey(CtrlC ctrlC, Escape escape) {
  ShowCursor();
  Key key;
  for (;;) {
    key = GetKey(ctrlC);
    if (key.end) return key;
    if (key.extended) continue;
    if (escape == Escape::Cancels && key.character == EscapeKey) break;
    if (std::string_view("SsNn").find(static_cast<char>(key.character)) != std::string_view::npos)
      break;
  }
  HideCursor();
  return key;
}
