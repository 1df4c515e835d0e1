#include <ostream>

#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/service/TextFile.h"
#include "workstation/console/Arguments.h"
#include "workstation/console/Commands.h"

namespace workstation::console {

Command locusListCommand() {
  Command c;
  c.name = "locus-list";
  c.summary = "show or set the loci that study exports include";
  c.usage =
      "usage: harvestor locus-list path\n"
      "       harvestor locus-list show\n"
      "       harvestor locus-list set NAME...\n\n"
      "The locus list is LocusList.txt in the export folder: one locus name a line,\n"
      "in the order the study exports write them.\n";
  c.run = [](const std::vector<std::string>& args, CommandContext& context) {
    const Arguments a(args, {}, 1, SIZE_MAX);
    const std::string& action = a.positional()[0];
    const std::string file = harvestor::LocusListFile::FullName();
    if (action == "path") {
      if (a.positional().size() != 1) throw UsageError("'path' takes no names");
      context.out << file << "\n";
      return 0;
    }
    if (action == "show") {
      if (a.positional().size() != 1) throw UsageError("'show' takes no names");
      const auto content = harvestor::ReadWholeFile(file);
      if (!content) {
        context.err << "harvestor locus-list: no locus list at " << file << "\n";
        return 1;
      }
      for (const auto& entry : harvestor::LocusListFile::SplitLines(*content)) {
        context.out << entry << "\n";
      }
      return 0;
    }
    if (action == "set") {
      const std::vector<std::string> names(a.positional().begin() + 1, a.positional().end());
      if (!harvestor::WriteTextLines(file, names)) {
        context.err << "harvestor locus-list: cannot write " << file << "\n";
        return 1;
      }
      context.out << "Wrote " << names.size() << " loci to " << file << "\n";
      return 0;
    }
    throw UsageError("unknown action '" + action + "' (path, show or set)");
  };
  return c;
}

}  // namespace workstation::console
