#pragma once
// Command-line options of the harvestor command: positional arguments,
// "--name value" options and "--flag" switches. Anything unexpected is a
// UsageError, which the command reports in one line with a usage hint.

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace workstation::console {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  std::string name;  // without the leading "--"
  bool takesValue = false;
};

class Arguments {
 public:
  Arguments(const std::vector<std::string>& args, const std::vector<OptionSpec>& options,
            std::size_t minPositional, std::size_t maxPositional);

  const std::vector<std::string>& positional() const { return positional_; }
  bool has(const std::string& name) const { return values_.count(name) > 0; }
  std::string value(const std::string& name, const std::string& fallback = "") const;
  std::vector<std::string> values(const std::string& name) const;
  std::string required(const std::string& name) const;
  // Every option in command-line order, with its value ("" for a switch).
  const std::vector<std::pair<std::string, std::string>>& ordered() const { return ordered_; }
  // A value that must be one of choices.
  std::string choice(const std::string& name, const std::vector<std::string>& choices) const;

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::vector<std::string>> values_;
  std::vector<std::pair<std::string, std::string>> ordered_;
};

// A file named on the command line must exist: otherwise a UsageError.
void requireFile(const std::string& path);
// A database argument: a server address as it is, or a file that must exist.
void requireStore(const std::string& argument);

}  // namespace workstation::console
