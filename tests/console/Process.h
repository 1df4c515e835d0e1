#pragma once
// Runs the real harvestor command as a child process and collects what it
// printed, for end-to-end tests of the console workstation.

#include <string>
#include <vector>

namespace workstation::testing {

struct ProcessResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// Runs the harvestor command with args, standard input from /dev/null, with
// the component folder given (when not empty) in HARVESTOR_COMPONENT_DIR,
// and no display.
ProcessResult RunHarvestor(const std::vector<std::string>& args,
                           const std::string& componentFolder = "");

// The same in two steps, for a test that signals the run while it works.
struct RunningHarvestor {
  int pid = -1;
  std::string outPath;
  std::string errPath;
};
RunningHarvestor StartHarvestor(const std::vector<std::string>& args,
                                const std::string& componentFolder = "");
ProcessResult WaitHarvestor(const RunningHarvestor& running);

// Imports the small study's tables, as study name, into db.
ProcessResult ImportSmallStudy(const std::string& db, const std::string& name = "Small");

// How many of the command's temporary files (".harvestor-...") lie in folder.
int Temporaries(const std::string& folder);

}  // namespace workstation::testing
