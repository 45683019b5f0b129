#include "shell/input.h"

#include <gtest/gtest.h>

#include "console/console.h"
#include "console/memory/memory_console.h"

namespace {

TEST(InputLine, EchoesAllowedKeysUpToTheLimitAndEditsWithBackspace) {
  MemoryConsole screen;
  MoveCursor(40, 17);
  // Enter and Backspace on an empty answer are ignored, so are letters and a fifth digit.
  screen.Keys("\r\b12a345\r");
  EXPECT_EQ(InputLine(4, InputMode::DigitsOnly), "1234");
  EXPECT_EQ(screen.TrimmedRow(17), std::string(39, ' ') + "1234");
  EXPECT_EQ(screen.CursorColumn(), 44);
  EXPECT_FALSE(screen.CursorVisible());
  MoveCursor(10, 5);
  screen.Keys("78\b\r");
  EXPECT_EQ(InputLine(4, InputMode::DigitsOnly), "7");
  EXPECT_EQ(screen.TrimmedRow(5), std::string(9, ' ') + "7");
  EXPECT_EQ(screen.CursorColumn(), 11);
  EXPECT_THROW(InputLine(4, InputMode::DigitsOnly), KeysExhausted);
  EXPECT_TRUE(screen.CursorVisible());  // while waiting for a key
  // Any characters: blanks and high bytes, but no controls or extended keys.
  MoveCursor(1, 20);
  screen.Keys(" A\t\x1b" + UpKey + DeleteKey + "\xa4\x7f" + "z\r");
  EXPECT_EQ(InputLine(10, InputMode::AnyCharacters), " A\xa4\x7fz");
  EXPECT_EQ(screen.Text(1, 20, 5), " A\xa4?z");  // the typed DEL is shown harmlessly
}

}  // namespace
