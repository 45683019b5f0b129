// The start's question about changes a run before left unsaved: the file and when it was written
// in yellow, the question in white with the answer as typed; Ctrl+C ends the run unanswered.
#include "dialogues/recovery_question.h"

#include <gtest/gtest.h>

#include "console/memory/memory_console.h"

namespace {

TEST(RecoveryQuestion, AnsweredOrEnded) {
  MemoryConsole screen;
  screen.Keys("xs\x03");
  MoveCursor(1, 5);
  const RecoveryAnswer recovered = AskToRecover("falta.rec");  // gone: its time is unknown
  EXPECT_TRUE(recovered.recover && !recovered.end);
  EXPECT_EQ(screen.TrimmedRow(5),
            "Hay cambios sin guardar de una sesion anterior (falta.rec, --/--/---- --:--).");
  EXPECT_EQ(screen.TrimmedRow(6), "Recuperar los cambios sin guardar (S/N): s");
  EXPECT_EQ(screen.Colour(1, 5), Yellow);
  EXPECT_EQ(screen.Colour(1, 6), White);

  const RecoveryAnswer ended = AskToRecover("falta.rec");
  EXPECT_TRUE(!ended.recover && ended.end && ended.end->kind == RunEnd::Interrupt);
  EXPECT_EQ(screen.TrimmedRow(8), "Recuperar los cambios sin guardar (S/N):");
}

}  // namespace
