#pragma once
// The recogniser behind --scan. One binding is linked: tesseract/ (Tesseract and Leptonica,
// where the build found them) or none/ (everywhere else, answering that it cannot read).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scan/page_reading.h"

class PageReader {
 public:
  PageReader();  // loads the recogniser once for every page of a run
  ~PageReader();
  PageReader(const PageReader&) = delete;
  PageReader& operator=(const PageReader&) = delete;

  // True in the binding that can read pages.
  static bool InThisBuild();
  // False when the recogniser or its model could not be loaded.
  bool Ready() const;
  // True when the image's file is one the reader can decode (a look at its header).
  static bool CanOpen(const std::string& imageName);
  // Each pass over the page (the same page read in more than one way), or none when the image
  // cannot be read.
  std::optional<std::vector<PageReading>> Read(const std::string& imageName);

 private:
  struct Engine;
  std::unique_ptr<Engine> engine_;
};
