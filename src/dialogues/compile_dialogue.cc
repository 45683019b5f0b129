#include "dialogues/compile_dialogue.h"

#include <algorithm>
#include <string_view>

#include "dialogues/message_area.h"
#include "files/file_names.h"
#include "input/line_input.h"
#include "tape/listing_bytes.h"
#include "tape/tape_image.h"

namespace {

constexpr std::string_view FileLabel = "Archivo: ";
constexpr std::string_view StartPrompt = "Arranque con RANDOMIZE USR (ENTER = sin cargador): ";
// Escape leaves any of the questions: nothing is written.
constexpr InputRules Cancellable{.escapeCancels = true};

// An answer, none (Enter alone where that means no loader), or the dialogue left.
struct Number {
  std::optional<int32_t> value;
  bool cancelled = false;
  std::optional<RunEnd> end = std::nullopt;
};

// Asked again, without a word, until the answer lies in lowest..highest.
Number AskNumber(int column, std::string_view prompt, int32_t lowest, int32_t highest,
                 bool emptyAllowed = false) {
  for (;;) {
    MoveCursor(column, MessageRow);
    WriteText(prompt);
    InputRules rules = Cancellable;
    rules.emptyAllowed = emptyAllowed;
    const TypedAnswer answer = InputLine(NumberDigits, InputMode::DigitsOnly, rules);
    if (answer.end || answer.cancelled) return {std::nullopt, answer.cancelled, answer.end};
    ClearMessageRow();
    if (answer.text.empty()) return {};
    const std::optional<int32_t> number = TextToInteger(answer.text);
    if (number && *number >= lowest && *number <= highest) return {number};
  }
}

Key ShowSummary(const std::string& fileName, const std::string& summary) {
  // Centred; a text too long for that starts at column 1 and shows what fits on the row.
  const std::string imageName = LocaleTextOnScreen(fileName);
  const int length = static_cast<int>(FileLabel.size() + imageName.size());
  MoveCursor(std::max(1, (ScreenColumns - length) / 2), FirstMessageRow);
  WriteText(FileLabel);
  WriteDataText(std::string_view(imageName).substr(0, ScreenColumns - FileLabel.size()));
  WriteLine();

  MoveCursor(6, MessageRow);
  WriteDataText(summary);
  WriteLine();

  MoveCursor(32, LastMessageRow);
  WriteLine("Pulsa una tecla.");
  const Key key = GetKey();
  if (!key.end) ClearMessageRows();
  return key;
}

// The questions were left with Escape, or the run ends.
std::optional<RunEnd> LeftAt(const Number& answer) {
  if (!answer.end) ClearMessageRows();
  return answer.end;
}

}  // namespace

std::optional<RunEnd> CompileTape(int& currentLine, const LineTable& table,
                                  const std::string& fileName) {
  if (table.count == 0)
    return ShowCentredNotice("El listado no tiene lineas. Pulsa una tecla.").end;
  if (const int faultyLine = FirstFaultyLine(table); faultyLine != 0) {
    currentLine = faultyLine;
    return ShowNoticeAndWait(
               20, "Error en la linea " + std::to_string(faultyLine) + ". Pulsa una tecla")
        .end;
  }

  SetTextColor(Yellow);
  MoveCursor(25, MessageRow);
  WriteText("Nombre del programa: ");
  TypedAnswer programName = InputLine(ProgramNameLength, InputMode::AnyCharacters, Cancellable);
  if (programName.end || programName.cancelled) return LeftAt({{}, true, programName.end});
  ClearMessageRow();
  programName.text.resize(ProgramNameLength, ' ');
  const Number dumpAddress = AskNumber(22, "Direccion del DUMP [0-65535]: ", 0, HighestAddress);
  if (!dumpAddress.value) return LeftAt(dumpAddress);
  // No bytes would be a tape of nothing; code running past 65535 would wrap round to the ROM.
  const int32_t highestCount = std::min(HighestByteCount(table), MostBytesFrom(*dumpAddress.value));
  const Number byteCount =
      AskNumber(22, "Numero de BYTES [1-" + std::to_string(highestCount) + "]: ", 1, highestCount);
  if (!byteCount.value) return LeftAt(byteCount);
  const Number start =
      AskNumber((ScreenColumns - static_cast<int>(StartPrompt.size()) - NumberDigits) / 2,
                StartPrompt, 0, HighestAddress, true);
  if (start.cancelled || start.end) return LeftAt(start);

  const std::string imageName = DerivedFileName(fileName, ".tap");
  const auto loader = start.value ? std::optional<uint16_t>(*start.value) : std::nullopt;
  // Every line passed the check, so the bytes are there.
  const std::string bytes = TakeListingBytes(table, *byteCount.value).value_or("");
  // A failed write leaves the old image, if any, whole; the editor goes on.
  if (const std::optional<IoFailure> failure = SaveTapeImage(
          imageName, programName.text, static_cast<uint16_t>(*dumpAddress.value), bytes, loader))
    return ShowFailureNotice("escribir la cinta", *failure).end;
  currentLine = 1;
  return ShowSummary(imageName,
                     ProgramSummary(programName.text, *dumpAddress.value, *byteCount.value, loader))
      .end;
}
