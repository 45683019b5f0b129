#include "batch/batch_run.h"

#include <optional>

#include "console/plain_output.h"
#include "listing/listing_file.h"
#include "platform/platform.h"

namespace {

void PrintRuntimeError(int code) {
  PrintLine("Runtime error " + std::to_string(code), PlainStream::Errors);
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
  const int code = IoErrorCode();
  PrintRuntimeError(code);
  return code;
}

int EndWithRuntimeError(int code) {
  PrintRuntimeError(code);
  return FinishBatch(code);
}

BatchListing ReadListingQuietly(const std::string& fileName, LineTable& table) {
  if (const std::optional<std::string> problem = ListingFileProblem(fileName, ListingUse::Read)) {
    PrintError(*problem);
    return {BatchListingFault, {}};
  }
  LoadBudget budget{FreeMemoryBytes(), 0};
  return {BatchDone, LoadQuietly(fileName, table, budget)};
}
