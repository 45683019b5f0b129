#include "batch/batch_run.h"

#include "console/plain_output.h"
#include "listing/listing_file.h"
#include "listing/loader.h"

namespace {

void PrintRuntimeError(IoFailure failure) {
  PrintLine("Runtime error " + std::to_string(failure.code), PlainStream::Errors);
}

}  // namespace

void PrintError(std::string_view message) {
  PrintLine("ERROR: " + std::string(message) + ".", PlainStream::Errors);
}

int PrintMisuse(std::string_view reason) {
  PrintLine("gravix: " + std::string(reason), PlainStream::Errors);
  PrintLine("Uso: gravix --help", PlainStream::Errors);
  return FinishBatch(BatchMisuse);
}

int FinishBatch(int status) {
  if (FinishPrinting()) return status;
  const IoFailure failure = LastIoFailure();
  PrintRuntimeError(failure);
  return failure.code;
}

int EndWithRuntimeError(IoFailure failure) {
  PrintRuntimeError(failure);
  return FinishBatch(failure.code);
}

std::string SkippedLineText(int fileLine) {
  return "Linea " + std::to_string(fileLine) + " del fichero: no es una linea del listado";
}

BatchListing ReadListingQuietly(const std::string& fileName, LineTable& table) {
  BatchListing listing;
  const ListingFileCheck file = CheckListingFile(fileName, ListingUse::Read);
  if (file.fault != ListingFault::None) {
    PrintError(ListingFaultText(file.fault, fileName));
    listing.status = BatchListingFault;
    return listing;
  }
  const LoadListener settle{
      .renumber =
          [&](const WrongNumber& found) {
            listing.problems.push_back({NumberingProblem::WrongNumber, found.fileLine,
                                        found.fields.number, found.expected, found.readable});
            return std::optional<std::string>(std::to_string(found.expected));
          },
      .fillGap =
          [&](const MissingLines& missing) {
            listing.problems.push_back({NumberingProblem::MissingLines, missing.fileLine,
                                        missing.fields.number, missing.first, true, missing.last});
            return std::optional<bool>(true);
          },
      .mended =
          [&](const Mended& mended) {
            if (mended.kind != Mended::Renumbered)
              listing.problems.push_back({mended.kind == Mended::CopyDropped
                                              ? NumberingProblem::Copy
                                              : NumberingProblem::Split,
                                          mended.fileLine, mended.number, mended.line});
          },
      .skipped = [&](int fileLine) { listing.skippedLines.push_back(fileLine); }};
  const LoadResult result = LoadListing(fileName, "", FreeMemoryBytes(), table, settle);
  if (result.failure) {
    listing.status = EndWithRuntimeError(*result.failure);
    return listing;
  }
  listing.full = result.full;
  return listing;
}
