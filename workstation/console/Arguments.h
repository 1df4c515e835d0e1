#pragma once
// How the harvestor command's subcommands declare their options on a
// CLI::App: values where the last one given wins, repeatable values,
// switches, and positional arguments. Checks the library cannot express
// throw UsageError, which the command reports in one line with a usage hint
// and exit status 2.

#include <CLI/CLI.hpp>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace workstation::console {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// NAMES is CLI11's list, e.g. "-o,--output". A value given twice keeps the last.
CLI::Option* addValue(CLI::App& app, const std::string& names, std::string& into,
                      const std::string& description, const std::string& valueName = "TEXT");
// A value that must be one of choices.
CLI::Option* addChoice(CLI::App& app, const std::string& names, std::string& into,
                       const std::vector<std::string>& choices, const std::string& description);
// A value that may be given any number of times, kept in order.
CLI::Option* addValues(CLI::App& app, const std::string& names, std::vector<std::string>& into,
                       const std::string& description, const std::string& valueName = "TEXT");
CLI::Option* addSwitch(CLI::App& app, const std::string& names, bool& into,
                       const std::string& description);
// Refuses two switches given together.
void refuseBoth(const CLI::Option* first, const CLI::Option* second);

// Every option given, in command-line order, with its value ("" for a switch):
// for commands whose options are steps done in turn.
std::vector<std::pair<std::string, std::string>> optionsInOrder(const CLI::App& app);

// A file named on the command line must exist: otherwise a UsageError.
void requireFile(const std::string& path);
// The folder a file is to be written in must exist: otherwise a UsageError.
void requireFolderOf(const std::string& path);
// A database argument: a server address as it is, or a file that must exist.
void requireStore(const std::string& argument);

}  // namespace workstation::console
