#pragma once
// gravix --scan IMAGEN... fichero: the listing read from page images, written for the editor
// to finish. A line keeps its checksum only when the reading is sure.

#include <string>
#include <vector>

// The exit status: 0 every line adds up and the numbering runs from 1 without a gap; 1 lines
// to check, or a file that cannot be written or an image that cannot be read; 2 a build that
// cannot scan.
int ScanListing(const std::vector<std::string>& images, const std::string& fileName);
