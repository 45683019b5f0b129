#include "shell/input.h"

#include <gtest/gtest.h>

#include "console/console.h"
#include "console/memory/memory_console.h"
TEST(InputLine, EchoesAllowedKeysUpToTheLimitAndEditsWithBackspace) {
  MemoryConsole screen;
  MoveCursor(40, 17);
  // Enter and Backspace on an empty answer are ignored, so are letters and a fifth digit.
  screen.Keys("\r\b12a3456\b\r");
  EXPECT_EQ(InputLine(4, InputMode::DigitsOnly), "123");
  EXPECT_EQ(screen.TrimmedRow(17), std::string(39, ' ') + "123");
  EXPECT_EQ(screen.CursorColumn(), 43);
  EXPECT_THROW(InputLine(4, InputMode::DigitsOnly), KeysExhausted);
  EXPECT_TRUE(screen.CursorVisible());  // while waiting for a key
  // Any characters: blanks and high bytes, but no controls or extended keys.
  MoveCursor(1, 20);
  screen.Keys(" A\t\x1b" + UpKey + DeleteKey + "\xa4\x7f" + "z\r");
  EXPECT_EQ(InputLine(10, InputMode::AnyCharacters), " A\xa4\x7fz");
  EXPECT_EQ(screen.Text(1, 20, 5), " A\xa4?z");  // the typed DEL is shown harmlessly
}
