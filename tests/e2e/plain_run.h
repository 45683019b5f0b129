#pragma once
// Runs a program with no terminal at all, as a script does: standard input /dev/null, standard
// output and standard error to files, read back once it has ended.
#include <filesystem>
#include <string>
#include <vector>

struct PlainRun {
  int status = -1;  // the exit status; -1 when it did not end by exit
  std::string output, errors;
};

PlainRun RunPlain(const std::vector<std::string>& arguments, const std::filesystem::path& directory,
                  const std::string& program = GRAVIX_PROGRAM,
                  const std::vector<std::string>& environment = {});
