// The harvestor command: a thin front on the console workstation.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "workstation/console/Commands.h"
#include "workstation/console/HugePages.h"
#include "workstation/console/Layout.h"
#include "workstation/console/SignalCleanup.h"

int main(int argc, char** argv) {
  if (workstation::console::holdsAStudy(argc, argv))
    workstation::console::restartWithHugePages(argv);
  const std::vector<std::string> args(argv + 1, argv + argc);
  workstation::console::CommandContext context{std::cout, std::cerr, std::cin,
                                               ::isatty(0) && ::isatty(2), ::isatty(2) != 0};
  workstation::console::removeTemporaryFilesOnSignals();
  workstation::console::setUpComponentEnvironment();
  return workstation::console::runCommandLine(args, context);
}
