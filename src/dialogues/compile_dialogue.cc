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

struct Number {
  int32_t value = 0;
  std::optional<RunEnd> end;
};

// Asked again, without a word, until the answer lies in lowest..highest.
Number AskNumber(std::string_view prompt, int32_t lowest, int32_t highest) {
  for (;;) {
    MoveCursor(22, MessageRow);
    WriteText(prompt);
    const TypedAnswer answer = InputLine(NumberDigits, InputMode::DigitsOnly);
    if (answer.end) return {0, answer.end};
    ClearMessageRow();
    const std::optional<int32_t> number = TextToInteger(answer.text);
    if (number && *number >= lowest && *number <= highest) return {*number, std::nullopt};
  }
}

Key ShowSummary(const std::string& imageName, const std::string& programName, int32_t dumpAddress,
                int32_t byteCount) {
  // Centred; a text too long for that starts at column 1 and shows what fits on the row.
  const int length = static_cast<int>(FileLabel.size() + imageName.size());
  MoveCursor(std::max(1, (ScreenColumns - length) / 2), FirstMessageRow);
  WriteText(FileLabel);
  WriteDataText(std::string_view(imageName).substr(0, ScreenColumns - FileLabel.size()));
  WriteLine();

  MoveCursor(6, MessageRow);
  WriteDataText(ProgramSummary(programName, dumpAddress, byteCount));
  WriteLine();

  MoveCursor(32, LastMessageRow);
  WriteLine("Pulsa una tecla.");
  const Key key = GetKey();
  if (!key.end) ClearMessageRows();
  return key;
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
  TypedAnswer programName = InputLine(ProgramNameLength, InputMode::AnyCharacters);
  if (programName.end) return programName.end;
  ClearMessageRow();
  programName.text.resize(ProgramNameLength, ' ');
  const Number dumpAddress = AskNumber("Direccion del DUMP [0-65535]: ", 0, HighestAddress);
  if (dumpAddress.end) return dumpAddress.end;
  const int32_t highestCount = HighestByteCount(table);
  // No bytes would be a tape of nothing, which no one wants loaded.
  const Number byteCount =
      AskNumber("Numero de BYTES [1-" + std::to_string(highestCount) + "]: ", 1, highestCount);
  if (byteCount.end) return byteCount.end;

  const std::string imageName = DerivedFileName(fileName, ".tap");
  // Every line passed the check, so the bytes are there.
  const std::string bytes = TakeListingBytes(table, byteCount.value).value_or("");
  // A failed write leaves the old image, if any, whole; the editor goes on.
  if (const std::optional<IoFailure> failure = SaveTapeImage(
          imageName, programName.text, static_cast<uint16_t>(dumpAddress.value), bytes))
    return ShowFailureNotice("escribir la cinta", *failure).end;
  currentLine = 1;
  return ShowSummary(imageName, programName.text, dumpAddress.value, byteCount.value).end;
}
