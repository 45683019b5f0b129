#include "input/yes_no.h"

#include <string_view>

#include "console/console.h"

Key GetYesNoKey(CtrlC ctrlC) {
  ShowCursor();
  Key key;
  do {
    key = GetKey(ctrlC);
    if (key.end) return key;
  } while (key.extended || std::string_view("SsNn").find(static_cast<char>(key.character)) ==
                               std::string_view::npos);
  HideCursor();
  return key;
}
