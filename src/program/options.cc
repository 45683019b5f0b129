#include "program/options.h"

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine commandLine;
  auto next = arguments.begin();
  if (next != arguments.end() && *next == "--new") {
    commandLine.mode = RunMode::New;
    ++next;
  }
  commandLine.files.assign(next, arguments.end());
  return commandLine;
}
