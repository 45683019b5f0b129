// Typed answers as the user sees them: what fits goes on screen where the cursor stood,
// Backspace takes the last character off the screen and the answer, Enter ends an answer (an
// empty one only where allowed), Escape cancels only where it may, and the end of input ends
// the run.
#include "input/line_input.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "input/yes_no.h"

namespace {

TEST(LineInput, WhatIsTypedAndShown) {
  constexpr InputRules Plain{}, Cancellable{.escapeCancels = true},
      EmptyAllowed{.emptyAllowed = true};
  // clang-format off
  const struct { std::string keys; InputMode mode; InputRules rules; std::string answer, shown; }
  cases[] = {
      {"12\b3\r", InputMode::DigitsOnly, Plain, "13", "13"},
      {"\b\b7\r", InputMode::DigitsOnly, Plain, "7", "7"},  // nothing to take back
      {"a1" + UpKey + "23456\r", InputMode::DigitsOnly, Plain, "1234", "1234"},  // four fit
      {"\r\x1b\x7fJ\r", InputMode::AnyCharacters, Plain, "\x7fJ", "?J"},  // no control byte shown
      {"\r", InputMode::AnyCharacters, EmptyAllowed, "", ""},
      {"9\x1b", InputMode::DigitsOnly, Cancellable, "", "9"}};
  // clang-format on
  for (const auto& c : cases) {
    MemoryConsole screen;
    screen.Keys(c.keys);
    MoveCursor(30, 12);
    const TypedAnswer answer = InputLine(4, c.mode, c.rules);
    EXPECT_EQ(answer.text, c.answer) << c.keys;
    EXPECT_EQ(answer.cancelled, c.keys.ends_with('\x1b')) << c.keys;
    EXPECT_FALSE(answer.end) << c.keys;
    EXPECT_EQ(screen.Row(12),
              std::string(29, ' ') + c.shown + std::string(51 - c.shown.size(), ' '))
        << c.keys;
    EXPECT_EQ(screen.CursorColumn(), 30 + static_cast<int>(c.shown.size())) << c.keys;
    EXPECT_FALSE(screen.CursorVisible()) << c.keys;
  }
}

TEST(LineInput, TheEndOfInputEndsTheRun) {
  MemoryConsole screen;
  screen.Keys("12");
  const std::optional<RunEnd> ended = InputLine(4, InputMode::DigitsOnly).end;
  EXPECT_TRUE(ended && ended->kind == RunEnd::IoError && ended->code == EIO);
  screen.Keys("\x03");
  const std::optional<RunEnd> interrupted = GetYesNoKey(CtrlC::EndsRun).end;
  EXPECT_TRUE(interrupted && interrupted->kind == RunEnd::Interrupt);
}

// Only S, s, N and n answer, as typed; Escape too where it cancels.
TEST(YesNo, OnlyAnAnswerAnswers) {
  MemoryConsole screen;
  screen.Keys("x\x1b" + Extended(DeleteScan) + "n\x1bS");
  EXPECT_EQ(GetYesNoKey().character, 'n');
  EXPECT_EQ(GetYesNoKey(CtrlC::IsAKey, Escape::Cancels).character, EscapeKey);
  EXPECT_TRUE(IsYes(GetYesNoKey()));
  EXPECT_FALSE(screen.CursorVisible());
}

}  // namespace
