#include <string>
#include <vector>

#include "console/console.h"
#include "program/program.h"

int main(int argc, char** argv) {
  EndRun(RunGravix(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc)));
}
