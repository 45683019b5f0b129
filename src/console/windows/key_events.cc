#include "console/windows/key_events.h"

namespace {

// Keys that only change what other keys mean, never a key press of their own.
bool IsModifierKey(WORD virtualKey) {
  switch (virtualKey) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
      return true;
  }
  return false;
}

}  // namespace

void TranslateInputRecord(const INPUT_RECORD& record, std::string& keys) {
  if (record.EventType != KEY_EVENT) return;
  const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  if (!key.bKeyDown || IsModifierKey(key.wVirtualKeyCode)) return;

  std::string bytes;
  auto character = static_cast<unsigned char>(key.uChar.AsciiChar);
  if (key.wVirtualKeyCode == VK_ESCAPE) character = 27;  // wine on a terminal sends it bare
  // Alt with a letter is a command chord, as ESC + letter is in a terminal; Alt together with
  // Ctrl is AltGr, which types characters such as @ on many keyboards.
  const DWORD state = key.dwControlKeyState;
  const bool alt = state & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED);
  const bool ctrl = state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED);
  if (character != 0 && !(alt && !ctrl))
    bytes.push_back(static_cast<char>(character));
  else if ((key.wVirtualScanCode & 0xFF) != 0)
    bytes = {'\0', static_cast<char>(key.wVirtualScanCode & 0xFF)};

  // A key held down arrives as one record with a repeat count.
  for (WORD repeat = key.wRepeatCount > 0 ? key.wRepeatCount : 1; repeat > 0; --repeat)
    keys += bytes;
}
