#include "batch/scan.h"

#include <optional>

#include "batch/batch_run.h"
#include "console/plain_output.h"
#include "listing/line_check.h"
#include "listing/line_format.h"
#include "listing/listing_file.h"
#include "platform/platform.h"
#include "scan/scan.h"

namespace {

std::string Listing(const std::vector<ScannedLine>& lines) {
  std::string text;
  for (const ScannedLine& line : lines)
    text.append(JoinListingLine(std::to_string(line.number), line.data, line.checksum))
        .append(LineEnd());
  return text;
}

bool NumberingRuns(const std::vector<ScannedLine>& lines) {
  for (size_t k = 0; k < lines.size(); ++k)
    if (lines[k].number != static_cast<int>(k) + 1) return false;
  return true;
}

}  // namespace

int ScanListing(const std::vector<std::string>& images, const std::string& fileName) {
  if (!ScanBuilt()) return PrintMisuse("--scan no esta disponible en Windows");
  if (const ListingFileCheck file = CheckListingFile(fileName, ListingUse::Create);
      file.fault != ListingFault::None) {
    PrintError(ListingFaultText(file.fault, fileName));
    return FinishBatch(BatchListingFault);
  }
  const int pages = static_cast<int>(images.size());
  const bool showProgress = ErrorsGoToTerminal();
  const ScanOutcome outcome = ScanPages(images, [&](int page, int lines) {
    if (showProgress)
      PrintLine("Pagina " + std::to_string(page) + " de " + std::to_string(pages) + ": " +
                    std::to_string(lines) + " lineas",
                PlainStream::Errors);
  });
  if (outcome.status == ScanStatus::Unreadable) {
    PrintError("La imagen \"" + outcome.unreadable + "\" no se puede leer");
    return FinishBatch(BatchListingFault);
  }
  if (outcome.status == ScanStatus::NoModel) {
    PrintError("Falta el modelo ingles de Tesseract (paquete tesseract-ocr-eng)");
    return FinishBatch(BatchListingFault);
  }
  if (const std::optional<IoFailure> failure = ReplaceFileSafely(fileName, Listing(outcome.lines)))
    return EndWithRuntimeError(*failure);

  int correct = 0;
  for (const ScannedLine& line : outcome.lines)
    if (CheckLine(line.data, line.checksum).Correct()) ++correct;
  const int count = static_cast<int>(outcome.lines.size());
  PrintLine("Leidas " + std::to_string(count) + " lineas de " + std::to_string(pages) +
            " paginas: " + std::to_string(correct) + " correctas, " +
            std::to_string(count - correct) + " por revisar.");
  const bool clean = correct == count && NumberingRuns(outcome.lines);
  return FinishBatch(clean ? BatchDone : BatchListingFault);
}
