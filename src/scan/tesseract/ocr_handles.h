#pragma once
// Owners for what Leptonica and Tesseract hand out, each freed the way its library wants.

#include <leptonica/allheaders.h>
#include <tesseract/resultiterator.h>

#include <memory>

struct PixFree {
  void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using PixHandle = std::unique_ptr<Pix, PixFree>;

struct BoxFree {
  void operator()(Box* box) const { boxDestroy(&box); }
};
using BoxHandle = std::unique_ptr<Box, BoxFree>;

using ResultHandle = std::unique_ptr<tesseract::ResultIterator>;
using TextHandle = std::unique_ptr<char[]>;  // Tesseract's strings come from new[]
