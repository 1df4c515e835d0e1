#include "workstation/console/Arguments.h"

#include <filesystem>
#include <map>

#include "workstation/store/StoreAddress.h"

namespace workstation::console {

CLI::Option* addValue(CLI::App& app, const std::string& names, std::string& into,
                      const std::string& description, const std::string& valueName) {
  return app.add_option(names, into, description)
      ->type_name(valueName)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

CLI::Option* addChoice(CLI::App& app, const std::string& names, std::string& into,
                       const std::vector<std::string>& choices, const std::string& description) {
  std::string list;
  for (const auto& c : choices) list += (list.empty() ? "" : "|") + c;
  // The check would add its own list to the value's name: the name is set after it.
  return addValue(app, names, into, description)->check(CLI::IsMember(choices))->type_name(list);
}

CLI::Option* addValues(CLI::App& app, const std::string& names, std::vector<std::string>& into,
                       const std::string& description, const std::string& valueName) {
  return app.add_option(names, into, description)->type_name(valueName)->take_all();
}

CLI::Option* addSwitch(CLI::App& app, const std::string& names, bool& into,
                       const std::string& description) {
  return app.add_flag(names, into, description);
}

void refuseBoth(const CLI::Option* first, const CLI::Option* second) {
  if (first->count() > 0 && second->count() > 0) {
    throw UsageError("give " + first->get_name() + " or " + second->get_name() + ", not both");
  }
}

std::vector<std::pair<std::string, std::string>> optionsInOrder(const CLI::App& app) {
  std::map<const CLI::Option*, std::size_t> seen;
  std::vector<std::pair<std::string, std::string>> ordered;
  for (const CLI::Option* option : app.parse_order()) {
    if (option->get_positional()) continue;
    const std::size_t nth = seen[option]++;
    const auto& results = option->results();
    const std::string name =
        option->get_lnames().empty() ? option->get_name() : option->get_lnames()[0];
    ordered.emplace_back(
        name, option->get_type_size() == 0 || nth >= results.size() ? std::string() : results[nth]);
  }
  return ordered;
}

void requireFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw UsageError("no such file: " + path);
}

void requireFolderOf(const std::string& path) {
  const auto folder = std::filesystem::absolute(path).parent_path();
  if (!std::filesystem::is_directory(folder))
    throw UsageError("no such folder: " + folder.string());
}

void requireStore(const std::string& argument) {
  if (parseStoreAddress(argument).engine == StoreAddress::Engine::SQLite) requireFile(argument);
}

}  // namespace workstation::console
