#include "console/windows/key_events.h"

#include <gtest/gtest.h>

#include <string>

#include "console/memory/memory_console.h"

namespace {

INPUT_RECORD Key(WORD virtualKey, WORD scanCode, char character, DWORD state = 0, bool down = true,
                 WORD repeat = 1) {
  INPUT_RECORD record{KEY_EVENT, {}};
  record.Event.KeyEvent = {down, repeat, virtualKey, scanCode, {}, state};
  record.Event.KeyEvent.uChar.AsciiChar = character;
  return record;
}

// Key-ups, modifiers and locks alone and other events give nothing; Escape comes from wine's
// terminal without a character; Ctrl+C is an ordinary key; the upper half arrives as its
// code-page byte; AltGr types; Alt+Q is a chord, as ESC q in a terminal; a held key repeats.
TEST(KeyEvents, RecordsBecomeTheBytesTheConsoleDelivers) {
  std::string keys;
  for (const INPUT_RECORD& record :
       {Key('A', 30, 'a', 0, false), Key(VK_SHIFT, 42, 0, SHIFT_PRESSED),
        Key(VK_MENU, 56, 0, LEFT_ALT_PRESSED), Key(VK_NUMLOCK, 69, 0, ENHANCED_KEY),
        INPUT_RECORD{FOCUS_EVENT, {}}, Key('A', 30, 'A', SHIFT_PRESSED), Key(VK_RETURN, 28, 13),
        Key(VK_BACK, 14, 8), Key(VK_ESCAPE, 1, 0), Key('C', 46, 3, LEFT_CTRL_PRESSED),
        Key(VK_OEM_7, 40, '\x80'), Key(VK_OEM_1, 26, '\xFF'),
        Key('2', 3, '@', RIGHT_ALT_PRESSED | LEFT_CTRL_PRESSED), Key(VK_UP, 72, 0, ENHANCED_KEY),
        Key(VK_DELETE, 83, 0, ENHANCED_KEY), Key(VK_F10, 68, 0),
        Key('Q', 16, 'q', LEFT_ALT_PRESSED), Key(VK_RIGHT, 77, 0, 0, true, 3),
        Key('X', 45, 'x', 0, true, 2)})
    TranslateInputRecord(record, keys);
  EXPECT_EQ(keys, "A\r\b\x1b\x03\x80\xFF@" + UpKey + DeleteKey + std::string("\0D\0\x10", 4) +
                      RightKey + RightKey + RightKey + "xx");
}

}  // namespace
