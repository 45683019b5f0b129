// Typed answers as the user sees them: Backspace takes the last character off the screen and
// the answer, Enter ends an answer (an empty one only where allowed), Escape cancels only where
// it may, only S, s, N and n answer a question, and the end of input ends the run.
#include "input/line_input.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "input/yes_no.h"

namespace {

TEST(LineInput, WhatIsTypedAndShown) {
  // clang-format off
  const struct { std::string keys; InputRules rules; std::string answer, shown; } cases[] = {
      {"\b12\b3\r", {}, "13", "13"}, {"\r\x1b" "7\r", {}, "7", "7"},
      {"\r", {.emptyAllowed = true}, "", ""}, {"9\x1b", {.escapeCancels = true}, "", "9"}};
  // clang-format on
  for (const auto& c : cases) {
    MemoryConsole screen;
    screen.Keys(c.keys);
    MoveCursor(30, 12);
    const TypedAnswer answer = InputLine(4, InputMode::DigitsOnly, c.rules);
    EXPECT_EQ(std::tuple(answer.text, answer.cancelled, answer.end.has_value()),
              std::tuple(c.answer, c.keys.ends_with('\x1b'), false))
        << c.keys;
    EXPECT_EQ(screen.Row(12),
              std::string(29, ' ') + c.shown + std::string(51 - c.shown.size(), ' '))
        << c.keys;
    EXPECT_EQ(screen.CursorColumn(), 30 + static_cast<int>(c.shown.size())) << c.keys;
  }
}

TEST(YesNo, OnlyAnAnswerAnswers) {
  MemoryConsole screen;
  screen.Keys("x\x1b" + DeleteKey + "n\x1bS12\x03");
  EXPECT_EQ(GetYesNoKey().character, 'n');
  EXPECT_EQ(GetYesNoKey(CtrlC::IsAKey, Escape::Cancels).character, EscapeKey);
  EXPECT_TRUE(IsYes(GetYesNoKey()));
  EXPECT_FALSE(screen.CursorVisible());
  const std::optional<RunEnd> interrupted = GetYesNoKey(CtrlC::EndsRun).end;
  EXPECT_TRUE(interrupted && interrupted->kind == RunEnd::Interrupt);
  const std::optional<RunEnd> ended = InputLine(4, InputMode::DigitsOnly).end;
  EXPECT_TRUE(ended && ended->kind == RunEnd::IoError && ended->code == EIO);
}

}  // namespace
