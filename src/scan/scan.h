#pragma once
// gravix --scan's reading: page images in, numbered listing lines out, each keeping its
// checksum only when the reading is sure, so the editor marks the others for checking.

#include <functional>
#include <string>
#include <vector>

struct ScannedLine {
  int number = 0;
  std::string data;
  std::string checksum;  // empty: the reading was not sure; type it from the page
};

enum class ScanStatus { Done, Unavailable, NoModel, Unreadable };

struct ScanOutcome {
  ScanStatus status = ScanStatus::Done;
  std::vector<ScannedLine> lines;  // in the order of the pages and of the lines on them
  std::string unreadable;          // the image that could not be read
};

// Called after each page, with its number from 1 and the listing lines found on it.
using PageDone = std::function<void(int page, int lines)>;

// True where this build can read pages (the Tesseract binding is linked).
bool ScanBuilt();

// Every image is looked at before the first is read, so an unreadable one costs no waiting.
ScanOutcome ScanPages(const std::vector<std::string>& images, const PageDone& pageDone);
