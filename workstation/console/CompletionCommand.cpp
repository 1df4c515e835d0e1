#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "workstation/console/Arguments.h"
#include "workstation/console/Commands.h"

namespace workstation::console {
namespace {

std::string joined(const std::vector<std::string>& words) {
  std::string out;
  for (const auto& w : words) out += (out.empty() ? "" : " ") + w;
  return out;
}

// The choices of an option whose value is one of a list, as its value name
// shows them ("csv|pedin|dmp|gsr"); empty for any other.
std::vector<std::string> choicesOf(const CLI::Option& option) {
  const std::string name = option.get_type_name();
  if (name.find('|') == std::string::npos) return {};
  std::vector<std::string> choices;
  std::size_t start = 0;
  for (std::size_t bar; (bar = name.find('|', start)) != std::string::npos; start = bar + 1) {
    choices.push_back(name.substr(start, bar - start));
  }
  choices.push_back(name.substr(start));
  return choices;
}

// A bash completion function built from the commands' own option
// definitions, so that it always offers what the command accepts.
void writeBashCompletion(std::ostream& out) {
  std::vector<std::string> names{"help"};
  for (const Command& c : allCommands()) names.push_back(c.name);
  out << "# bash completion for harvestor, written by 'harvestor completion bash'\n"
         "_harvestor() {\n"
         "  local cur prev cmd i\n"
         "  cur=\"${COMP_WORDS[COMP_CWORD]}\"\n"
         "  prev=\"${COMP_WORDS[COMP_CWORD-1]}\"\n"
         "  if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
         "    COMPREPLY=($(compgen -W \""
      << joined(names)
      << " --help --version\" -- \"$cur\"))\n"
         "    return\n"
         "  fi\n"
         "  cmd=\"${COMP_WORDS[1]}\"\n"
         "  case \"$cmd\" in\n"
         "    help)\n"
         "      COMPREPLY=($(compgen -W \""
      << joined({names.begin() + 1, names.end()})
      << "\" -- \"$cur\"))\n"
         "      return ;;\n";
  for (const Command& c : allCommands()) {
    CLI::App app;
    app.set_help_flag("-h,--help", "");
    c.define(app);
    std::vector<std::string> options, valued;
    std::string choiceCases;
    for (const CLI::Option* option : app.get_options()) {
      if (option->get_positional()) continue;
      std::vector<std::string> spellings;
      for (const auto& s : option->get_snames()) spellings.push_back("-" + s);
      for (const auto& l : option->get_lnames()) spellings.push_back("--" + l);
      for (const auto& s : spellings) options.push_back(s);
      if (option->get_type_size() == 0) continue;
      for (const auto& s : spellings) valued.push_back(s);
      if (const auto choices = choicesOf(*option); !choices.empty()) {
        std::string pattern;
        for (const auto& s : spellings) pattern += (pattern.empty() ? "" : "|") + s;
        choiceCases += "        " + pattern + ") COMPREPLY=($(compgen -W \"" + joined(choices) +
                       "\" -- \"$cur\")); return ;;\n";
      }
    }
    std::string valuedPattern;
    for (const auto& s : valued) valuedPattern += (valuedPattern.empty() ? "" : "|") + s;
    out << "    " << c.name << ")\n"
        << "      case \"$prev\" in\n"
        << choiceCases;
    if (!valuedPattern.empty()) {
      out << "        " << valuedPattern << ") COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n";
    }
    out << "      esac\n"
        << "      if [[ \"$cur\" == -* ]]; then\n"
        << "        COMPREPLY=($(compgen -W \"" << joined(options) << "\" -- \"$cur\"))\n"
        << "      else\n"
        << "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
        << "      fi\n"
        << "      return ;;\n";
  }
  out << "  esac\n"
         "}\n"
         "complete -F _harvestor harvestor\n";
}

}  // namespace

Command completionCommand() {
  Command c;
  c.name = "completion";
  c.summary = "print the shell completion script (bash)";
  c.usage =
      "usage: harvestor completion bash\n\n"
      "Prints a bash completion script for harvestor's commands, options and formats.\n"
      "Load it with: source <(harvestor completion bash)\n"
      "An installed harvestor has it in share/bash-completion/completions.\n";
  c.define = [](CLI::App& app) {
    auto shell = std::make_shared<std::string>();
    app.add_option("SHELL", *shell, "the shell: bash")->required()->check(CLI::IsMember({"bash"}));
    return [shell](CommandContext& context) {
      writeBashCompletion(context.out);
      return 0;
    };
  };
  return c;
}

}  // namespace workstation::console
