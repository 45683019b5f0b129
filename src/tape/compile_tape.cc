#include "tape/compile_tape.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "console/console.h"
#include "files/file_names.h"
#include "input/keys.h"
#include "input/line_input.h"
#include "listing/line_format.h"
#include "tape/tape_image.h"

namespace {

constexpr int FirstMessageRow = 16;
constexpr int PromptRow = 17;
constexpr int LastMessageRow = 18;
constexpr std::string_view FileLabel = "Archivo: ";

void ClearRow(int row) {
  MoveCursor(1, row);
  ClearToEndOfLine();
}

void ReportFaultyLine(int line) {
  SetTextColor(Yellow);
  MoveCursor(20, PromptRow);
  WriteText("Error en la linea ");
  WriteNumber(line);
  WriteLine(". Pulsa una tecla");
  GetKey();
  ClearRow(PromptRow);
}

std::string AskProgramName() {
  MoveCursor(25, PromptRow);
  WriteText("Nombre del programa: ");
  std::string name = InputLine(ProgramNameLength, InputMode::AnyCharacters);
  ClearRow(PromptRow);
  name.resize(ProgramNameLength, ' ');
  return name;
}

// Asked again, without a word, until the answer lies in 0..highest.
int32_t AskNumber(std::string_view prompt, int32_t highest) {
  for (;;) {
    MoveCursor(22, PromptRow);
    WriteText(prompt);
    const std::optional<int32_t> answer =
        TextToInteger(InputLine(NumberDigits, InputMode::DigitsOnly));
    ClearRow(PromptRow);
    if (answer && *answer >= 0 && *answer <= highest) return *answer;
  }
}

void ShowSummary(const std::string& imageName, const std::string& programName, int32_t dumpAddress,
                 int32_t byteCount) {
  // Centred; a text too long for that starts at column 1 and shows what fits on the row.
  const int length = static_cast<int>(FileLabel.size() + imageName.size());
  MoveCursor(std::max(1, (ScreenColumns - length) / 2), FirstMessageRow);
  WriteText(FileLabel);
  WriteDataText(std::string_view(imageName).substr(0, ScreenColumns - FileLabel.size()));
  WriteLine();

  MoveCursor(6, PromptRow);
  WriteDataText(ProgramSummary(programName, dumpAddress, byteCount));
  WriteLine();

  MoveCursor(32, LastMessageRow);
  WriteLine("Pulsa una tecla.");
  GetKey();
  for (int row = FirstMessageRow; row <= LastMessageRow; ++row) ClearRow(row);
}

}  // namespace

// A listing with a wrong line is never compiled, whatever the byte count asked later.
int FirstFaultyLine(int16_t lineCount, const LineTable& lines) {
  for (int line = 1; line <= lineCount; ++line)
    if (!IsCorrectLine(SplitStoredLine(LineText(lines, line)))) return line;
  return 0;
}

std::string ProgramSummary(std::string_view programName, int32_t dumpAddress, int32_t byteCount) {
  return "Programa: \"" + std::string(programName) +
         "\"   #   Dump: " + std::to_string(dumpAddress) +
         "   #   Bytes: " + std::to_string(byteCount);
}

std::optional<std::string> TakeListingBytes(const LineTable& lines, int16_t lineCount,
                                            int32_t byteCount) {
  if (byteCount < 0 || byteCount > HighestByteCount(lineCount))
    return std::nullopt;
  std::string bytes;
  bytes.reserve(static_cast<size_t>(byteCount));
  for (int line = 1; static_cast<int32_t>(bytes.size()) < byteCount; ++line) {
    const std::string data = SplitStoredLine(LineText(lines, line)).data;
    if (DataChecksum(data) < 0) return std::nullopt;  // only hexadecimal pairs make bytes
    for (int j = 0; j < BytesPerLine && static_cast<int32_t>(bytes.size()) < byteCount; ++j)
      bytes.push_back(static_cast<char>(HexByte(data[2 * j], data[2 * j + 1])));
  }
  return bytes;
}

void CompileTape(int32_t& currentLine, int16_t lineCount, const LineTable& lines,
                 const std::string& fileName) {
  const int faultyLine = FirstFaultyLine(lineCount, lines);
  if (faultyLine != 0) {
    ReportFaultyLine(faultyLine);
    currentLine = faultyLine;
    return;
  }

  SetTextColor(Yellow);
  const std::string programName = AskProgramName();
  const int32_t dumpAddress = AskNumber("Direccion del DUMP [0-65535]: ", HighestAddress);
  const int32_t highestCount = HighestByteCount(lineCount);
  const int32_t byteCount =
      AskNumber("Numero de BYTES [0-" + std::to_string(highestCount) + "]: ", highestCount);

  const std::string imageName = DerivedFileName(fileName, ".tap");
  // Every line passed the check, so the bytes are there.
  const std::string bytes = TakeListingBytes(lines, lineCount, byteCount).value_or("");
  WriteTapeImage(imageName, programName, static_cast<uint16_t>(dumpAddress),
                 static_cast<uint16_t>(byteCount), bytes);
  ShowSummary(imageName, programName, dumpAddress, byteCount);
  currentLine = 1;
}
