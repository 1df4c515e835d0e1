#include "workstation/console/Arguments.h"

#include <algorithm>
#include <filesystem>

#include "workstation/store/StoreAddress.h"

namespace workstation::console {

Arguments::Arguments(const std::vector<std::string>& args, const std::vector<OptionSpec>& options,
                     std::size_t minPositional, std::size_t maxPositional) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0 || arg == "--") {
      positional_.push_back(arg);
      continue;
    }
    std::string name = arg.substr(2), inlineValue;
    bool hasInline = false;
    if (const auto eq = name.find('='); eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name = name.substr(0, eq);
      hasInline = true;
    }
    const auto spec = std::find_if(options.begin(), options.end(),
                                   [&](const OptionSpec& o) { return o.name == name; });
    if (spec == options.end()) throw UsageError("unknown option '--" + name + "'");
    if (!spec->takesValue) {
      if (hasInline) throw UsageError("option '--" + name + "' takes no value");
      values_[name].push_back("");
      ordered_.emplace_back(name, "");
      continue;
    }
    if (hasInline) {
      values_[name].push_back(inlineValue);
    } else if (i + 1 < args.size()) {
      values_[name].push_back(args[++i]);
    } else {
      throw UsageError("option '--" + name + "' needs a value");
    }
    ordered_.emplace_back(name, values_[name].back());
  }
  if (positional_.size() < minPositional) throw UsageError("missing argument");
  if (positional_.size() > maxPositional) {
    throw UsageError("unexpected argument '" + positional_[maxPositional] + "'");
  }
}

std::string Arguments::value(const std::string& name, const std::string& fallback) const {
  const auto it = values_.find(name);
  return it == values_.end() ? fallback : it->second.back();
}

std::vector<std::string> Arguments::values(const std::string& name) const {
  const auto it = values_.find(name);
  return it == values_.end() ? std::vector<std::string>() : it->second;
}

std::string Arguments::required(const std::string& name) const {
  if (!has(name)) throw UsageError("option '--" + name + "' is required");
  return value(name);
}

std::string Arguments::choice(const std::string& name,
                              const std::vector<std::string>& choices) const {
  const std::string v = required(name);
  if (std::find(choices.begin(), choices.end(), v) == choices.end()) {
    std::string list;
    for (const auto& c : choices) list += (list.empty() ? "" : "|") + c;
    throw UsageError("option '--" + name + "' must be one of " + list);
  }
  return v;
}

void requireFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw UsageError("no such file: " + path);
}

void requireStore(const std::string& argument) {
  if (parseStoreAddress(argument).engine == StoreAddress::Engine::SQLite) requireFile(argument);
}

}  // namespace workstation::console
