#pragma once
// What the command line asks for: the form of the run, the file names it gives and, for --tap,
// the compile answers.

#include <optional>
#include <string>
#include <vector>

enum class RunMode {
  Edit,     // gravix fichero: load, repair, edit
  New,      // gravix --new fichero: type a listing from scratch
  Check,    // gravix --check fichero: report, change nothing
  Tap,      // gravix --tap NOMBRE DUMP BYTES fichero: compile without a dialogue
  Scan,     // gravix --scan IMAGEN... fichero: read page images into a new listing
  Help,     // gravix --help, -h
  Version,  // gravix --version
  Misuse,   // an unknown option, or an option without what it needs
};

struct CommandLine {
  RunMode mode = RunMode::Edit;
  std::vector<std::string> files;
  std::vector<std::string> tapAnswers;      // NOMBRE, DUMP, BYTES
  std::optional<std::string> startAddress;  // --usr DIRECCION: the image starts itself
  std::string misuse;                       // what is wrong, for Misuse
};

// arguments: the command line without the program's own name. "--" ends the options, so a file
// whose name begins with "-" can still be named.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
