#include "batch/tap.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "batch/batch_run.h"
#include "batch/check.h"
#include "console/console.h"
#include "console/plain_output.h"
#include "files/file_names.h"
#include "platform/platform.h"
#include "tape/listing_bytes.h"
#include "tape/tape_image.h"

namespace {

// The prompts take decimal digits only, up to five of them; zeros in front are no digits.
std::optional<int32_t> Digits(std::string_view text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  const std::string_view significant =
      text.substr(std::min(text.find_first_not_of('0'), text.size() - 1));
  if (significant.size() > static_cast<size_t>(NumberDigits)) return std::nullopt;
  return TextToInteger(significant);
}

}  // namespace

int CompileListing(const TapAnswers& answers, const std::string& fileName) {
  std::optional<std::string> name = ArgumentAsTyped(answers.programName);
  const bool outsideAscii = std::any_of(answers.programName.begin(), answers.programName.end(),
                                        [](char c) { return static_cast<uint8_t>(c) >= 128; });
  if (!name && outsideAscii && LocaleIsAscii())
    return PrintMisuse(
        "NOMBRE solo admite caracteres ASCII en este idioma (LANG=" + CharacterLocale() + ")");
  if (!name || name->empty() || name->size() > ProgramNameLength)
    return PrintMisuse("NOMBRE debe tener de 1 a 10 caracteres");
  if (ControlBytesShown(*name) != *name)
    return PrintMisuse("NOMBRE no puede llevar caracteres de control");
  const std::optional<int32_t> dumpAddress = Digits(answers.dumpAddress);
  if (!dumpAddress || *dumpAddress > HighestAddress)
    return PrintMisuse("DUMP debe ser un numero de 0 a 65535");
  const std::optional<int32_t> byteCount = Digits(answers.byteCount);
  if (!byteCount || *byteCount < 1)
    return PrintMisuse("BYTES debe ser un numero de 1 a 10 veces el numero de lineas");
  std::optional<uint16_t> startAddress;
  if (answers.startAddress) {
    const std::optional<int32_t> start = Digits(*answers.startAddress);
    if (!start || *start > HighestAddress)
      return PrintMisuse("USR debe ser un numero de 0 a 65535");
    startAddress = static_cast<uint16_t>(*start);
  }

  const auto table = std::make_unique<LineTable>();
  const BatchListing listing = ReadListingQuietly(fileName, *table);
  if (listing.status != BatchDone) return FinishBatch(listing.status);
  if (!listing.skippedLines.empty()) {
    PrintError("El fichero tiene lineas que no son del listado");
    PrintLine(SkippedLineText(listing.skippedLines.front()), PlainStream::Errors);
    return FinishBatch(BatchListingFault);
  }
  if (!listing.problems.empty() || listing.full) {
    PrintError("El listado necesita el dialogo de numeracion");
    if (!listing.problems.empty())
      PrintLine(NumberingFault(listing.problems.front()), PlainStream::Errors);
    return FinishBatch(BatchListingFault);
  }
  if (const int faulty = FirstFaultyLine(*table); faulty != 0) {
    PrintError("Error en la linea " + std::to_string(faulty));
    PrintLine(LineFaults(faulty, SplitStoredLine(LineText(*table, faulty))), PlainStream::Errors);
    return FinishBatch(BatchListingFault);
  }
  if (table->count == 0) {  // no line to take a byte from: the range would be "1 a 0"
    PrintError("El listado no tiene lineas");
    return FinishBatch(BatchListingFault);
  }
  // Code that would run past 65535 is refused as the dialogue refuses it.
  const int32_t highestCount = std::min(HighestByteCount(*table), MostBytesFrom(*dumpAddress));
  const std::optional<std::string> bytes =
      *byteCount <= highestCount ? TakeListingBytes(*table, *byteCount) : std::nullopt;
  if (!bytes) return PrintMisuse("BYTES debe ser un numero de 1 a " + std::to_string(highestCount));

  // The tape holds the name as the prompt would; the summary shows it as the locale has it.
  const std::string shownName =
      answers.programName + std::string(ProgramNameLength - name->size(), ' ');
  name->resize(ProgramNameLength, ' ');
  const std::string imageName = DerivedFileName(fileName, ".tap");
  if (const std::optional<IoFailure> failure = SaveTapeImage(
          imageName, *name, static_cast<uint16_t>(*dumpAddress), *bytes, startAddress))
    return EndWithRuntimeError(*failure);
  PrintLine("Archivo: " + imageName);
  PrintLine(ProgramSummary(shownName, *dumpAddress, *byteCount, startAddress));
  return FinishBatch(BatchDone);
}
