#pragma once
// What the command line asks for: the form of the run and the file names it gives.

#include <string>
#include <vector>

enum class RunMode {
  Edit,  // gravix fichero: load, repair, edit
  New,   // gravix --new fichero: type a listing from scratch
};

struct CommandLine {
  RunMode mode = RunMode::Edit;
  std::vector<std::string> files;
};

// arguments: the command line without the program's own name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
