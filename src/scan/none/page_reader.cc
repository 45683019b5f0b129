// A build without Tesseract and Leptonica (the Windows one, or Linux without the libraries):
// there is nothing to read pages with.
#include "scan/page_reader.h"

struct PageReader::Engine {};

PageReader::PageReader() = default;
PageReader::~PageReader() = default;

bool PageReader::InThisBuild() { return false; }

bool PageReader::Ready() const { return false; }

bool PageReader::CanOpen(const std::string&) { return false; }

std::optional<std::vector<PageReading>> PageReader::Read(const std::string&) {
  return std::nullopt;
}
