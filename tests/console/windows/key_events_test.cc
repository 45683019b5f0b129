#include "console/windows/key_events.h"

#include <gtest/gtest.h>

#include <string>

#include "console/memory/memory_console.h"

namespace {

INPUT_RECORD Key(WORD virtualKey, WORD scanCode, char character, DWORD state = 0,
                 bool down = true) {
  INPUT_RECORD record{};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = down;
  record.Event.KeyEvent.wRepeatCount = 1;
  record.Event.KeyEvent.wVirtualKeyCode = virtualKey;
  record.Event.KeyEvent.wVirtualScanCode = scanCode;
  record.Event.KeyEvent.uChar.AsciiChar = character;
  record.Event.KeyEvent.dwControlKeyState = state;
  return record;
}

std::string Bytes(std::initializer_list<INPUT_RECORD> records) {
  std::string keys;
  for (const INPUT_RECORD& record : records) TranslateInputRecord(record, keys);
  return keys;
}

TEST(KeyEvents, KeyUpsModifiersAloneAndOtherEventsGiveNothing) {
  INPUT_RECORD focus{};
  focus.EventType = FOCUS_EVENT;
  EXPECT_EQ(Bytes({Key('A', 30, 'a', 0, false), Key(VK_SHIFT, 42, 0, SHIFT_PRESSED),
                   Key(VK_CONTROL, 29, 0, LEFT_CTRL_PRESSED), Key(VK_MENU, 56, 0, LEFT_ALT_PRESSED),
                   Key(VK_CAPITAL, 58, 0), Key(VK_NUMLOCK, 69, 0, ENHANCED_KEY),
                   Key(VK_SCROLL, 70, 0), focus}),
            "");
}

TEST(KeyEvents, KeysWithACharacterAreThatByte) {
  EXPECT_EQ(Bytes({Key('A', 30, 'a'), Key('A', 30, 'A', SHIFT_PRESSED), Key(VK_RETURN, 28, 13),
                   Key(VK_BACK, 14, 8), Key(VK_TAB, 15, 9), Key(VK_ESCAPE, 1, 27)}),
            "aA\r\b\t\x1b");
  EXPECT_EQ(Bytes({Key(VK_ESCAPE, 1, 0)}), "\x1b");  // as wine reports it from a terminal
  // Ctrl+C is an ordinary key; characters of the upper half arrive as their code-page byte.
  EXPECT_EQ(Bytes({Key('C', 46, 3, LEFT_CTRL_PRESSED), Key(0xC0, 39, '\xA4'),
                   Key(VK_OEM_7, 40, '\x80'), Key(VK_OEM_1, 26, '\xFF')}),
            "\x03\xA4\x80\xFF");
  // AltGr (right Alt reported with left Ctrl) types characters such as @.
  EXPECT_EQ(Bytes({Key('2', 3, '@', RIGHT_ALT_PRESSED | LEFT_CTRL_PRESSED)}), "@");
}

TEST(KeyEvents, KeysWithoutACharacterAreZeroThenTheirScanCode) {
  EXPECT_EQ(Bytes({Key(VK_UP, 72, 0, ENHANCED_KEY), Key(VK_DOWN, 80, 0), Key(VK_LEFT, 75, 0),
                   Key(VK_RIGHT, 77, 0)}),
            UpKey + DownKey + LeftKey + RightKey);
  EXPECT_EQ(Bytes({Key(VK_HOME, 71, 0), Key(VK_END, 79, 0), Key(VK_PRIOR, 73, 0),
                   Key(VK_NEXT, 81, 0), Key(VK_INSERT, 82, 0), Key(VK_DELETE, 83, 0)}),
            HomeKey + EndKey + PageUpKey + PageDownKey + InsertKey + DeleteKey);
  const std::string f10{'\0', 68};
  EXPECT_EQ(Bytes({Key(VK_F1, 59, 0), Key(VK_F10, 68, 0)}), F1Key + f10);
  // Alt with a letter is a chord, as ESC + letter is in a terminal.
  const std::string altQ{'\0', 16};
  EXPECT_EQ(Bytes({Key('Q', 16, 'q', LEFT_ALT_PRESSED)}), altQ);
}

TEST(KeyEvents, AHeldKeyRepeatsItsBytes) {
  INPUT_RECORD held = Key(VK_RIGHT, 77, 0);
  held.Event.KeyEvent.wRepeatCount = 3;
  INPUT_RECORD letter = Key('X', 45, 'x');
  letter.Event.KeyEvent.wRepeatCount = 2;
  EXPECT_EQ(Bytes({held, letter}), RightKey + RightKey + RightKey + "xx");
}

}  // namespace
