// The harvestor command: a thin front on the console workstation.
#include <iostream>
#include <string>
#include <vector>

#include "workstation/console/Commands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  workstation::console::CommandContext context{std::cout, std::cerr};
  return workstation::console::runCommandLine(args, context);
}
