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
#include "platform/platform.h"

namespace {

struct LoadState {
  LineTable& table;
  LoadBudget& budget;
  LoadReport* quiet;     // set: nothing is shown or asked, problems are noted here instead
  int16_t expected = 1;  // the next free table index, the number the next line must carry
  int fileLine = 0;      // the raw line being read, from 1
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

// Stores text as the next line; a refusal (memory or table full) ends the storing for good.
void StoreLine(LoadState& state, std::string_view text) {
  const bool refused = state.quiet ? AddLineQuietly(state.table, state.expected, text, state.budget)
                                   : AddLine(state.table, state.expected, text, state.budget);
  if (refused)
    state.full = true;
  else
    ++state.expected;
}

// AddLine refuses index 5001 at the latest, so the numbers stay line numbers.
void InsertZeroLines(LoadState& state, int32_t first, int32_t last) {
  for (int32_t k = first; k <= last && !state.full; ++k) StoreLine(state, ZeroLine(k));
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
  InsertZeroLines(state, first, last);
}

// Without a user to ask, a wrong number takes the expected one and a gap is taken for the zero
// lines the listing leaves out, so the lines after it keep their numbers.
void SettleQuietly(LoadState& state, ListingFields& fields, std::optional<int32_t> read) {
  const int32_t value = read.value_or(0);
  const bool gap = read && value > state.expected;
  state.quiet->problems.push_back(
      {state.fileLine, fields.number, state.expected, read.has_value(), gap ? value - 1 : 0});
  if (gap)
    InsertZeroLines(state, state.expected, value - 1);
  else
    fields.number = std::to_string(state.expected);
}

void LoadRawLine(LoadState& state, std::string_view raw) {
  ListingFields& fields = state.fields;
  SplitRawLine(raw, fields);
  const std::optional<int32_t> read = TextToInteger(fields.number);
  int32_t value = read.value_or(0);
  if (state.quiet && value != state.expected) {
    SettleQuietly(state, fields, read);
  } else {
    if (!read || value < state.expected) value = AskLineNumber(state, fields);
    if (value > state.expected) AskAboutGap(state, fields, value);
  }
  if (state.full) return;
  JoinListingLine(fields.number, fields.data, fields.checksum, state.joined);
  StoreLine(state, state.joined);
}

// The line went into entry index as the file holds it, ended as a save by GRAVIX ends it: a
// listing of only such lines loses nothing when saved, and is its own backup.
bool StoredAsSaved(const LoadState& state, const RawLineReader& reader, int16_t index,
                   std::string_view raw) {
  return !reader.markSkipped && reader.lineEnd == LineEnd() && state.expected == index + 1 &&
         LineText(state.table, index) == raw;
}

void ReadLines(LoadState& state, RawLineReader& reader) {
  std::string raw;
  raw.reserve(MaxRawLineLength);
  // After the table is full the rest is still read, so the backup is a whole copy.
  while (ReadRawLine(reader, raw)) {
    ++state.fileLine;
    const int16_t index = state.expected;
    if (raw.size() >= MinRawLineLength && !state.full) LoadRawLine(state, raw);
    if (!StoredAsSaved(state, reader, index, raw)) WriteBackup(reader);
  }
  state.table.count = static_cast<int16_t>(state.expected - 1);
  CloseRawLines(reader);
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

  LoadState state{table, budget, nullptr};
  ReadLines(state, reader);
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

LoadReport LoadQuietly(const std::string& fileName, LineTable& table, LoadBudget& budget) {
  RawLineReader reader;
  OpenRawLines(reader, fileName, "");
  LoadReport report;
  LoadState state{table, budget, &report};
  ReadLines(state, reader);
  report.full = state.full;
  return report;
}
