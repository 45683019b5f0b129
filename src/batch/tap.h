#pragma once
// gravix --tap NOMBRE DUMP BYTES fichero: the tape image the compile dialogue writes for these
// answers, with no dialogue. Nothing is written unless the listing loads without a question,
// every line is correct and every answer lies in the dialogue's range.

#include <optional>
#include <string>

struct TapAnswers {
  std::string programName;  // as given on the command line
  std::string dumpAddress;
  std::string byteCount;
  std::optional<std::string> startAddress;  // --usr: a loader that runs the code from there
};

// The exit status: 0 written, 1 the listing is not ready, 2 an answer out of range.
int CompileListing(const TapAnswers& answers, const std::string& fileName);
