#include "listing/loader.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "console/console.h"
#include "files/file_names.h"
#include "input/keys.h"
#include "input/line_input.h"
#include "input/yes_no.h"
#include "listing/raw_lines.h"

namespace {

struct LoadState {
  LineTable& table;
  LoadBudget& budget;
  int16_t expected = 1;  // the next free table index, the number the next line must carry
  bool reported = false;
  bool full = false;
  // Reused from line to line: a long listing then costs no allocation per line but its block.
  ListingFields fields = {};
  std::string joined = {};
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

// The number field is unreadable or smaller than expected: the user types one that is not.
int32_t AskLineNumber(LoadState& state, ListingFields& fields) {
  state.reported = true;
  SetTextColor(LightGreen);
  WriteLine("  Numero de linea encontrado incorrecto:");
  SetTextColor(LightRed);
  WriteText("    ");
  WriteDataText(fields.number);
  SetTextColor(White);
  WriteText(" ");
  WriteDataText(fields.data);
  WriteText(" ");
  WriteDataText(fields.checksum);
  WriteLine();
  SetTextColor(LightGreen);
  WriteText("  Numero de linea esperado: ");
  SetTextColor(LightRed);
  WriteNumber(state.expected);
  WriteLine();

  SetTextColor(White);
  const std::string oldNumber = fields.number;
  int32_t value = 0;
  do {
    WriteText("   Introduce numero de linea correcto: ");
    fields.number = InputLine(4, InputMode::DigitsOnly, CtrlC::EndsRun);
    value = TextToInteger(fields.number).value_or(0);
    WriteLine();
  } while (value < state.expected);

  SetTextColor(LightCyan);
  WriteText("    Renumerando linea ");
  WriteQuoted(oldNumber);
  WriteText(" a ");
  WriteQuoted(fields.number);
  WriteLine();
  return value;
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
void AskAboutGap(LoadState& state, ListingFields& fields, int32_t value) {
  const int32_t first = state.expected;
  const int32_t last = value - 1;
  state.reported = true;
  SetTextColor(LightMagenta);
  WriteText("  Numero de linea encontrado: ");
  WriteQuoted(value);
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
  const uint8_t answer = GetYesNoKey(CtrlC::EndsRun);
  WriteChar(answer);
  WriteLine();

  SetTextColor(LightCyan);
  if (!IsYes(answer)) {
    WriteText("    Renumerando linea ");
    WriteQuoted(fields.number);
    WriteText(" a ");
    WriteQuoted(first);
    WriteLine();
    fields.number = std::to_string(first).substr(0, MaxNumberLength);
    return;
  }
  if (first == last) {
    WriteText("    Insertando linea ");
    WriteQuoted(first);
    WriteLine(" como linea de ceros");
  } else {
    WriteMissingLines("    Insertando lineas de ceros desde ", first, last);
    WriteLine();
  }
  // AddLine refuses index 5001 at the latest, so k stays a line number.
  for (int32_t k = first; k <= last && !state.full; ++k) {
    if (AddLine(state.table, static_cast<int16_t>(k), ZeroLine(k), state.budget))
      state.full = true;
    else
      state.expected = static_cast<int16_t>(k + 1);
  }
}

void LoadRawLine(LoadState& state, std::string_view raw) {
  ListingFields& fields = state.fields;
  SplitRawLine(raw, fields);
  const std::optional<int32_t> read = TextToInteger(fields.number);
  int32_t value = read.value_or(0);
  if (!read || value < state.expected) value = AskLineNumber(state, fields);
  if (value > state.expected) AskAboutGap(state, fields, value);
  if (state.full) return;
  JoinListingLine(fields.number, fields.data, fields.checksum, state.joined);
  if (AddLine(state.table, state.expected, state.joined, state.budget))
    state.full = true;
  else
    ++state.expected;
}

void ShowMemoryFull(const LoadState& state) {
  SetTextColor(LightCyan);
  WriteLine();
  WriteText("Memoria llena [");
  WriteNumber(static_cast<int32_t>(std::clamp<int64_t>(state.budget.freeBytes, 0, INT32_MAX)));
  WriteText(" bytes libres] o numero de lineas maximo [");
  WriteNumber(MaxLines);
  WriteLine(" lineas] excedido.");
  WriteText("Total de lineas procesadas: ");
  WriteNumber(state.table.count);
  WriteLine();
}

}  // namespace

void LoadListing(const std::string& fileName, LineTable& table, LoadBudget& budget) {
  RawLineReader reader;
  OpenRawLines(reader, fileName, DerivedFileName(fileName, ".bak"));
  SetTextColor(Yellow);
  WriteLine("Procesando fichero de entrada...");
  WriteLine();

  LoadState state{table, budget};
  std::string raw;
  raw.reserve(MaxRawLineLength);
  // After the table is full the rest is still read, so the backup is a whole copy.
  while (ReadRawLine(reader, raw))
    if (raw.size() >= MinRawLineLength && !state.full) LoadRawLine(state, raw);
  table.count = static_cast<int16_t>(state.expected - 1);
  CloseRawLines(reader);

  if (state.full) {
    ShowMemoryFull(state);
    state.reported = true;
  }
  if (state.reported) {
    SetTextColor(Yellow);
    WriteLine();
    WriteLine("Proceso del fichero de entrada finalizado. Pulsa una tecla.");
    GetKey(CtrlC::EndsRun);
  }
}
