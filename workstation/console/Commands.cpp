#include "workstation/console/Commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>

#include "workstation/console/Arguments.h"
#include "workstation/store/Database.h"

#ifndef HARVESTOR_VERSION
#error "HARVESTOR_VERSION is defined by the build from the VERSION file"
#endif

namespace workstation::console {
namespace {

constexpr const char* kExitStatuses =
    "Exit status:\n"
    "  0  done\n"
    "  1  failed: an error, a stopped run, or an export that did not write every file\n"
    "  2  usage error: a wrong command line; nothing was done\n"
    "  3  an export that wrote no subject or no file\n";

void printOverview(std::ostream& out) {
  out << "usage: harvestor COMMAND [ARGS...]\n"
         "       harvestor help COMMAND | --help | --version\n\n"
         "Exports genotyping studies to the files a lab's downstream tools read.\n\n"
         "Commands:\n";
  for (const Command& c : allCommands()) {
    out << "  " << c.name << std::string(c.name.size() < 16 ? 16 - c.name.size() : 1, ' ')
        << c.summary << "\n";
  }
  out << "\nRun 'harvestor COMMAND --help' or 'harvestor help COMMAND' for a command's options.\n\n"
      << kExitStatuses;
}

std::unique_ptr<CLI::App> makeApp(const Command& c, CommandRun* run) {
  auto app = std::make_unique<CLI::App>(c.summary, "harvestor " + c.name);
  app->set_help_flag("-h,--help", "show this help and exit");
  app->allow_extras();  // reported below in the command's own words
  CommandRun defined = c.define(*app);
  if (run) *run = std::move(defined);
  return app;
}

std::string optionLabel(const CLI::Option& option) {
  std::string label;
  for (const auto& s : option.get_snames()) label += (label.empty() ? "-" : ", -") + s;
  for (const auto& l : option.get_lnames()) label += (label.empty() ? "--" : ", --") + l;
  if (option.get_type_size() != 0) label += " " + option.get_type_name();
  return label;
}

void printCommandHelp(const Command& c, const CLI::App& app, std::ostream& out) {
  out << c.usage << "\nOptions:\n";
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_positional()) continue;
    const std::string label = optionLabel(*option);
    out << "  " << label << std::string(label.size() < 28 ? 28 - label.size() : 2, ' ')
        << option->get_description() << "\n";
  }
}

const Command* findCommand(const std::string& name) {
  const auto& commands = allCommands();
  const auto it = std::find_if(commands.begin(), commands.end(),
                               [&](const Command& c) { return c.name == name; });
  return it == commands.end() ? nullptr : &*it;
}

int unknownCommand(const std::string& name, CommandContext& context) {
  context.err << "harvestor: unknown command '" << name << "'\n"
              << "Run 'harvestor --help' for the list of commands.\n";
  return kUsage;
}

// The command line left over once the command's options are taken: an
// unknown option or one argument too many.
void refuseExtras(const CLI::App& app) {
  // The library keeps "--" among the extras; what follows it is never an option.
  std::vector<std::string> extras = app.remaining();
  const auto mark = std::find(extras.begin(), extras.end(), "--");
  const bool afterMark = mark == extras.begin();
  if (mark != extras.end()) extras.erase(mark);
  if (extras.empty()) return;
  const std::string& first = extras.front();
  if (!afterMark && first.size() > 1 && first[0] == '-') {
    const auto eq = first.find('=');
    throw UsageError("unknown option '" + first.substr(0, eq) + "'");
  }
  throw UsageError("unexpected argument '" + first + "'");
}

int runCommand(const Command& c, const std::vector<std::string>& args, CommandContext& context) {
  try {
    CommandRun run;
    const auto app = makeApp(c, &run);
    try {
      std::vector<std::string> reversed(args.rbegin(), args.rend());
      app->parse(reversed);
    } catch (const CLI::CallForHelp&) {
      printCommandHelp(c, *app, context.out);
      return kDone;
    } catch (const CLI::ParseError& e) {
      refuseExtras(*app);  // an unknown option explains a missing one better than the library
      throw UsageError(e.what());
    }
    refuseExtras(*app);
    return run(context);
  } catch (const UsageError& e) {
    context.err << "harvestor " << c.name << ": " << e.what() << "\n"
                << "Run 'harvestor " << c.name << " --help' for usage.\n";
    return kUsage;
  } catch (const StoreError& e) {
    context.err << "harvestor " << c.name << ": " << e.what() << "\n";
    return kFailed;
  } catch (const std::exception& e) {
    context.err << "harvestor " << c.name << ": " << e.what() << "\n";
    return kFailed;
  }
}

}  // namespace

const char* harvestorVersion() { return HARVESTOR_VERSION; }

const std::vector<Command>& allCommands() {
  static const std::vector<Command> commands = {
      importCommand(), exportStudyCommand(), exportResultsCommand(), locusListCommand(),
      lohCommand(),    demoCommand(),        initStoreCommand(),     completionCommand()};
  return commands;
}

int runCommandLine(const std::vector<std::string>& args, CommandContext& context) {
  if (args.empty()) {
    printOverview(context.err);
    return kUsage;
  }
  const std::string& first = args[0];
  if (first == "--help" || first == "-h") {
    printOverview(context.out);
    return kDone;
  }
  if (first == "--version" || first == "-V") {
    context.out << "harvestor " << harvestorVersion() << "\n";
    return kDone;
  }
  if (first == "help") {
    if (args.size() == 1) {
      printOverview(context.out);
      return kDone;
    }
    const Command* c = findCommand(args[1]);
    if (!c) return unknownCommand(args[1], context);
    if (args.size() > 2) {
      context.err << "harvestor help: unexpected argument '" << args[2] << "'\n"
                  << "Run 'harvestor --help' for usage.\n";
      return kUsage;
    }
    printCommandHelp(*c, *makeApp(*c, nullptr), context.out);
    return kDone;
  }
  if (first.size() > 1 && first[0] == '-') {
    context.err << "harvestor: unknown option '" << first << "'\n"
                << "Run 'harvestor --help' for usage.\n";
    return kUsage;
  }
  const Command* c = findCommand(first);
  if (!c) return unknownCommand(first, context);
  return runCommand(*c, std::vector<std::string>(args.begin() + 1, args.end()), context);
}

}  // namespace workstation::console
