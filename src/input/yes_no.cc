#include "input/yes_no.h"

#include <string_view>

#include "console/console.h"
#include "input/keys.h"

uint8_t GetYesNoKey(CtrlC ctrlC) {
  ShowCursor();
  Key key;
  do {
    key = GetKey(ctrlC);
  } while (key.extended || std::string_view("SsNn").find(static_cast<char>(key.character)) ==
                               std::string_view::npos);
  HideCursor();
  return key.character;
}
