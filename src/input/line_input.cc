#include "input/line_input.h"

#include "console/console.h"

TypedAnswer InputLine(int maxLength, InputMode mode, InputRules rules) {
  std::string text;
  ShowCursor();
  for (;;) {
    const Key key = GetKey(rules.ctrlC);
    if (key.end) return {"", false, key.end};
    if (key.extended) continue;
    if (key.character == EscapeKey && rules.escapeCancels) {
      HideCursor();
      return {"", true};
    }
    if (key.character == BackspaceKey) {
      if (!text.empty()) {
        text.pop_back();
        WriteChar(8);
        WriteChar(' ');
        WriteChar(8);
      }
      continue;
    }
    if (key.character == EnterKey) {
      if (text.empty() && !rules.emptyAllowed) continue;
      break;
    }
    const bool fits = mode == InputMode::DigitsOnly ? key.character >= '0' && key.character <= '9'
                                                    : key.character >= 32;
    if (fits && static_cast<int>(text.size()) < maxLength) {
      text.push_back(static_cast<char>(key.character));
      WriteDataText(text.substr(text.size() - 1));
    }
  }
  HideCursor();
  return {text};
}
