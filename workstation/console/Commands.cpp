#include "workstation/console/Commands.h"

#include <ostream>

#include "workstation/console/Arguments.h"
#include "workstation/store/Database.h"

namespace workstation::console {
namespace {

void printOverview(std::ostream& out) {
  out << "usage: harvestor COMMAND [ARGS...]\n\n"
         "Exports genotyping studies to the files a lab's downstream tools read.\n\n"
         "Commands:\n";
  for (const Command& c : allCommands()) {
    out << "  " << c.name << std::string(c.name.size() < 16 ? 16 - c.name.size() : 1, ' ')
        << c.summary << "\n";
  }
  out << "\nRun 'harvestor COMMAND --help' for a command's options.\n";
}

bool wantsHelp(const std::vector<std::string>& args) {
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

}  // namespace

const std::vector<Command>& allCommands() {
  static const std::vector<Command> commands = {
      importCommand(), exportStudyCommand(), exportResultsCommand(), locusListCommand(),
      lohCommand(),    demoCommand(),        initStoreCommand()};
  return commands;
}

int runCommandLine(const std::vector<std::string>& args, CommandContext& context) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    printOverview(args.empty() ? context.err : context.out);
    return args.empty() ? 2 : 0;
  }
  for (const Command& c : allCommands()) {
    if (c.name != args[0]) continue;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (wantsHelp(rest)) {
      context.out << c.usage;
      return 0;
    }
    try {
      return c.run(rest, context);
    } catch (const UsageError& e) {
      context.err << "harvestor " << c.name << ": " << e.what() << "\n"
                  << "Run 'harvestor " << c.name << " --help' for usage.\n";
      return 2;
    } catch (const StoreError& e) {
      context.err << "harvestor " << c.name << ": " << e.what() << "\n";
      return 1;
    } catch (const std::exception& e) {
      context.err << "harvestor " << c.name << ": " << e.what() << "\n";
      return 1;
    }
  }
  context.err << "harvestor: unknown command '" << args[0] << "'\n"
              << "Run 'harvestor --help' for the list of commands.\n";
  return 2;
}

}  // namespace workstation::console
