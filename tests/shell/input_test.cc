#include <gtest/gtest.h>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "shell/input.h"

namespace {

TEST(GetKey, ExtendedKeysAreToldFromLettersWithTheSameCode) {
  MemoryConsole screen;
  screen.Keys(UpKey + "H" + DeleteKey + "\x1b");
  Key key = GetKey();
  EXPECT_EQ(key.character, 72);
  EXPECT_TRUE(key.extended);
  key = GetKey();
  EXPECT_EQ(key.character, 'H');
  EXPECT_FALSE(key.extended);
  EXPECT_EQ(GetKey().character, 83);
  key = GetKey();
  EXPECT_EQ(key.character, 27);
  EXPECT_FALSE(key.extended);
}

TEST(InputLine, DigitsOnlyKeepsTheFirstFourDigitsAndEchoesThem) {
  MemoryConsole screen;
  MoveCursor(40, 17);
  screen.Keys("12a345\r");
  EXPECT_EQ(InputLine(4, InputMode::DigitsOnly), "1234");
  EXPECT_EQ(screen.TrimmedRow(17), std::string(39, ' ') + "1234");
  EXPECT_EQ(screen.CursorColumn(), 44);
  EXPECT_FALSE(screen.CursorVisible());
  EXPECT_EQ(screen.KeysLeft(), 0u);
}

TEST(InputLine, EnterOnAnEmptyAnswerIsIgnored) {
  MemoryConsole screen;
  screen.Keys("\r\r7\r");
  EXPECT_EQ(InputLine(4, InputMode::DigitsOnly), "7");
}

TEST(InputLine, BackspaceErasesOnScreenAndIsIgnoredOnAnEmptyAnswer) {
  MemoryConsole screen;
  MoveCursor(10, 5);
  screen.Keys("7\b\b8\r");
  EXPECT_EQ(InputLine(4, InputMode::DigitsOnly), "8");
  EXPECT_EQ(screen.TrimmedRow(5), std::string(9, ' ') + "8");
  EXPECT_EQ(screen.CursorColumn(), 11);
}

TEST(InputLine, AnyCharactersAcceptsBlanksAndHighBytesButNoControlsOrExtendedKeys) {
  MemoryConsole screen;
  MoveCursor(1, 17);
  screen.Keys(" A\t\x1b" + UpKey + DeleteKey + "\xa4\x7f" + "z\r");
  EXPECT_EQ(InputLine(10, InputMode::AnyCharacters), " A\xa4\x7fz");
  EXPECT_EQ(screen.Text(1, 17, 5), " A\xa4?z");  // the typed DEL is shown harmlessly
}

TEST(InputLine, ShowsTheCursorWhileWaiting) {
  MemoryConsole screen;
  HideCursor();
  screen.Keys("");
  EXPECT_THROW(InputLine(4, InputMode::DigitsOnly), KeysExhausted);
  EXPECT_TRUE(screen.CursorVisible());
}

}  // namespace
