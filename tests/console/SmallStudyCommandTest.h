#pragma once
// A fresh folder with the small study imported into study.db and an empty
// output folder, for the console's end-to-end tests.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"

namespace workstation::testing {

// A file's line in an export summary's list of files written.
inline std::string Sized(const std::string& file) {
  return "  " + file + " (" + std::to_string(std::filesystem::file_size(file)) + " bytes)\n";
}

class SmallStudyCommandTest : public ::testing::Test {
 protected:
  SmallStudyCommandTest() {
    const auto imported = ImportSmallStudy(db);
    EXPECT_EQ(imported.exitStatus, 0) << imported.err;
    std::filesystem::create_directories(out);
  }
  ProcessResult Run(const std::vector<std::string>& args) const {
    return RunHarvestor(args, component);
  }

  harvestor::testing::TestHost host;
  std::string db = host.Path("study.db");
  std::string out = host.Path("Out");
  std::string component = host.root + "/App/bin";
};

}  // namespace workstation::testing
