// What the recogniser makes of each listing line of some page images, for bench/scan_bench.py
// to hold against the pages' own listings and to set the scan's thresholds on. One line of
// tab-separated fields for each pass's reading of each line (the passes over the page, then
// the strips, then the page's glyphs): image, line, pass, top, number, data and checksum as
// read, the repaired data and sum, its cost, the runner-up's cost and data, the least
// confidence. Usage: gravix_scan_lines IMAGE...
#include <cstdio>
#include <string>

#include "scan/line_evidence.h"
#include "scan/page_reader.h"

int main(int argc, char** argv) {
  PageReader reader;
  if (!reader.Ready()) return 1;
  for (int k = 1; k < argc; ++k) {
    const auto passes = reader.Read(argv[k]);
    if (!passes) return 1;
    const std::vector<LineEvidence> lines = PageEvidence(*passes);
    for (size_t n = 0; n < lines.size(); ++n)
      for (size_t pass = 0; pass < lines[n].readings.size(); ++pass) {
        const PassReading& line = lines[n].readings[pass];
        const auto& best = line.repair.best;
        const auto& runnerUp = line.repair.runnerUp;
        std::printf("%s\t%zu\t%d\t%d\t%d\t%s\t%s\t%s\t%d\t%.1f\t%.1f\t%s\t%.1f\n", argv[k], n,
                    line.pass, line.top, line.number.value_or(-1), line.data.c_str(),
                    line.checksum.c_str(), best ? best->data.c_str() : "-",
                    best ? best->checksum : -1, best ? best->cost : -1.0f,
                    runnerUp ? runnerUp->cost : -1.0f, runnerUp ? runnerUp->data.c_str() : "-",
                    line.leastConfidence);
      }
  }
  return 0;
}
