#include "dialogues/numbering_dialogue.h"

#include <algorithm>

#include "input/line_input.h"
#include "input/yes_no.h"
#include "listing/loader.h"

namespace {

struct Dialogue {
  uint32_t randomState;
  int skippedLines = 0;                      // lines of the file that are no lines of the listing
  bool reported = false;                     // something was shown: the load ends with a pause
  std::optional<RunEnd> end = std::nullopt;  // a question ended the run instead of being answered
};

// Fields come from the file: shown through WriteDataText so no byte of them reaches the
// terminal as a command.
void WriteQuoted(std::string_view field) {
  WriteChar('"');
  WriteDataText(field);
  WriteChar('"');
}

void WriteQuoted(int32_t number) {
  WriteChar('"');
  WriteNumber(number);
  WriteChar('"');
}

// The indicator's three frames, chosen at random with equal chances; the next output covers it.
void FlickerIndicator(Dialogue& dialogue) {
  dialogue.randomState = dialogue.randomState * 1103515245u + 12345u;
  WriteChar(static_cast<uint8_t>('<' + (dialogue.randomState >> 16) % 3));
  WriteChar(8);
  FlushConsoleIfDue();
}

// The number field is unreadable or smaller than expected: the user types one that is not.
std::optional<std::string> AskLineNumber(Dialogue& dialogue, const WrongNumber& found) {
  dialogue.reported = true;
  SetTextColor(LightGreen);
  WriteLine("  Numero de linea encontrado incorrecto:");
  SetTextColor(LightRed);
  WriteText("    ");
  WriteDataText(found.fields.number);
  SetTextColor(White);
  WriteText(" ");
  WriteDataText(found.fields.data);
  WriteText(" ");
  WriteDataText(found.fields.checksum);
  WriteLine();
  SetTextColor(LightGreen);
  WriteText("  Numero de linea esperado: ");
  SetTextColor(LightRed);
  WriteNumber(found.expected);
  WriteLine();

  SetTextColor(White);
  TypedAnswer answer;
  do {
    WriteText("   Introduce numero de linea correcto: ");
    answer = InputLine(4, InputMode::DigitsOnly, {.ctrlC = CtrlC::EndsRun});
    if ((dialogue.end = answer.end)) return std::nullopt;
    WriteLine();
  } while (TextToInteger(answer.text).value_or(0) < found.expected);

  SetTextColor(LightCyan);
  WriteText("    Renumerando linea ");
  WriteQuoted(found.fields.number);
  WriteText(" a ");
  WriteQuoted(answer.text);
  WriteLine();
  return answer.text;
}

// The run of missing lines, in the question and in the notice that answers it.
void WriteMissingLines(std::string_view text, int32_t first, int32_t last) {
  WriteText(text);
  WriteQuoted(first);
  WriteText(" hasta ");
  WriteQuoted(last);
}

// The line carries a number above the expected one: either the lines between are zero lines
// the listing leaves out, or the line itself takes the expected number.
std::optional<bool> AskAboutGap(Dialogue& dialogue, const MissingLines& missing) {
  const int first = missing.first, last = missing.last;
  dialogue.reported = true;
  SetTextColor(LightMagenta);
  WriteText("  Numero de linea encontrado: ");
  WriteQuoted(last + 1);
  WriteLine();
  WriteText("  Numero de linea esperado: ");
  WriteQuoted(first);
  WriteLine();

  SetTextColor(White);
  if (first == last) {
    WriteText("   La linea ");
    WriteQuoted(first);
    WriteText(" es una linea de ceros (S/N): ");
  } else {
    WriteMissingLines("   Lineas de ceros desde ", first, last);
    WriteText(" (S/N): ");
  }
  const Key answer = GetYesNoKey(CtrlC::EndsRun);
  if ((dialogue.end = answer.end)) return std::nullopt;
  WriteChar(answer.character);
  WriteLine();

  SetTextColor(LightCyan);
  if (!IsYes(answer)) {
    WriteText("    Renumerando linea ");
    WriteQuoted(missing.fields.number);
    WriteText(" a ");
    WriteQuoted(first);
    WriteLine();
    return false;
  }
  if (first == last) {
    WriteText("    Insertando linea ");
    WriteQuoted(first);
    WriteLine(" como linea de ceros");
  } else {
    WriteMissingLines("    Insertando lineas de ceros desde ", first, last);
    WriteLine();
  }
  return true;
}

// What the loader mended without asking is told all the same, in the notices' colour.
void TellMended(Dialogue& dialogue, const Mended& mended) {
  dialogue.reported = true;
  SetTextColor(LightCyan);
  switch (mended.kind) {
    case Mended::Renumbered:
      WriteText("    Renumerando linea ");
      WriteQuoted(mended.number);
      WriteText(" a ");
      WriteQuoted(mended.line);
      break;
    case Mended::CopyDropped:
      WriteText("    Linea " + std::to_string(mended.line) + " repetida: se quita la copia");
      break;
    case Mended::Joined:
      WriteText("    Linea " + std::to_string(mended.line) +
                " partida: se une con la siguiente linea del fichero");
      break;
  }
  WriteLine();
}

// Short lines without a number are no lines of the listing; the user learns they were left out,
// and where they still are.
void ShowSkippedLines(int count) {
  SetTextColor(LightCyan);
  WriteLine(count == 1 ? "    1 linea del fichero no es del listado: queda en la copia de seguridad"
                       : "    " + std::to_string(count) +
                             " lineas del fichero no son del listado: quedan en la copia de "
                             "seguridad");
}

void ShowMemoryFull(const LoadResult& result, const LineTable& table) {
  SetTextColor(LightCyan);
  WriteLine();
  // What the table can still take: the memory left, as far as the 5000 lines allow.
  const int64_t usable =
      std::min<int64_t>(result.freeBytes, int64_t{MaxLines - table.count} * LineBlockSize);
  WriteText("Memoria llena [");
  WriteNumber(static_cast<int32_t>(std::max<int64_t>(usable, 0)));
  WriteText(" bytes libres] o numero de lineas maximo [");
  WriteNumber(MaxLines);
  WriteLine(" lineas] excedido.");
  WriteText("Total de lineas procesadas: ");
  WriteNumber(table.count);
  WriteLine();
}

}  // namespace

std::optional<RunEnd> LoadListingOnScreen(const std::string& fileName,
                                          const std::string& backupName, LineTable& table,
                                          uint32_t indicatorSeed) {
  SetTextColor(Yellow);
  WriteLine("Procesando fichero de entrada...");
  WriteLine();

  Dialogue dialogue{indicatorSeed};
  const LoadListener listener{
      .renumber = [&](const WrongNumber& found) { return AskLineNumber(dialogue, found); },
      .fillGap = [&](const MissingLines& missing) { return AskAboutGap(dialogue, missing); },
      .stored = [&] { FlickerIndicator(dialogue); },
      .mended = [&](const Mended& mended) { TellMended(dialogue, mended); },
      .skipped = [&](int) { ++dialogue.skippedLines; }};
  const LoadResult result = LoadListing(fileName, backupName, FreeMemoryBytes(), table, listener);
  if (result.failure) return EndByFailure(*result.failure);
  if (dialogue.end) return dialogue.end;
  // The indicator's last frame goes with the load.
  WriteChar(' ');
  WriteChar(8);
  if (dialogue.skippedLines > 0) {
    ShowSkippedLines(dialogue.skippedLines);
    dialogue.reported = true;
  }
  if (result.full) {
    ShowMemoryFull(result, table);
    dialogue.reported = true;
  }
  if (!dialogue.reported) return std::nullopt;
  SetTextColor(Yellow);
  WriteLine();
  WriteLine("Proceso del fichero de entrada finalizado. Pulsa una tecla.");
  return GetKey(CtrlC::EndsRun).end;
}
