#include "dialogues/recovery_question.h"

#include <cstdio>

#include "input/yes_no.h"

namespace {

// DD/MM/AAAA HH:MM
std::string WrittenAt(const std::string& fileName) {
  const std::optional<LocalTime> time = FileWrittenAt(fileName);
  if (!time) return "--/--/---- --:--";
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d", time->day, time->month, time->year,
                time->hour, time->minute);
  return text;
}

}  // namespace

RecoveryAnswer AskToRecover(const std::string& recoveryName) {
  SetTextColor(Yellow);
  WriteText("Hay cambios sin guardar de una sesion anterior (");
  WriteDataText(LocaleTextOnScreen(recoveryName));
  WriteLine(", " + WrittenAt(recoveryName) + ").");
  SetTextColor(White);
  WriteText("Recuperar los cambios sin guardar (S/N): ");
  const Key answer = GetYesNoKey(CtrlC::EndsRun);
  if (answer.end) return {false, answer.end};
  WriteChar(answer.character);
  WriteLine();
  return {IsYes(answer)};
}
