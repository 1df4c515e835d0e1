#pragma once
// The harvestor command's subcommands. Each has a name, a one-line summary,
// its usage text and a run function; run() dispatches, prints help and turns
// usage errors into one line with a hint and exit status 2.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace workstation::console {

struct CommandContext {
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  bool interactive = false;       // standard input and error are a terminal
  bool progressTerminal = false;  // standard error is a terminal: a progress bar is drawn there
};

struct Command {
  std::string name;
  std::string summary;
  std::string usage;  // the full help text, starting with the usage line
  std::function<int(const std::vector<std::string>& args, CommandContext& context)> run;
};

const std::vector<Command>& allCommands();

int runCommandLine(const std::vector<std::string>& args, CommandContext& context);

// The individual commands.
Command importCommand();
Command initStoreCommand();
Command exportStudyCommand();
Command exportResultsCommand();
Command demoCommand();
Command locusListCommand();
Command lohCommand();

}  // namespace workstation::console
