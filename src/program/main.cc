#include <string>
#include <vector>

#include "program/program.h"

int main(int argc, char** argv) {
  return RunGravix(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
