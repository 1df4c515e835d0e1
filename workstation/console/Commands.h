#pragma once
// The harvestor command's subcommands. Each has a name, a one-line summary,
// its usage text and a definition: it declares its options on a CLI::App and
// returns what runs once they are parsed. runCommandLine() dispatches, prints
// help and the version, and turns usage errors into one line with a hint and
// exit status 2.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace workstation::console {

// The exit statuses every command keeps to.
enum ExitStatus : int {
  kDone = 0,            // the command did all it was asked
  kFailed = 1,          // it failed, or the export stopped or is incomplete
  kUsage = 2,           // the command line was wrong; nothing was done
  kNothingWritten = 3,  // a study export completed but wrote no subject
};

struct CommandContext {
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  bool interactive = false;       // standard input and error are a terminal
  bool progressTerminal = false;  // standard error is a terminal: a progress bar is drawn there
};

using CommandRun = std::function<int(CommandContext& context)>;

struct Command {
  std::string name;
  std::string summary;
  std::string usage;  // the usage lines and what the command does; options are listed after it
  std::function<CommandRun(CLI::App& app)> define;
};

const std::vector<Command>& allCommands();

int runCommandLine(const std::vector<std::string>& args, CommandContext& context);

// The project's version, as --version prints it.
const char* harvestorVersion();

// The individual commands.
Command importCommand();
Command initStoreCommand();
Command exportStudyCommand();
Command exportResultsCommand();
Command demoCommand();
Command locusListCommand();
Command lohCommand();
Command completionCommand();

}  // namespace workstation::console
