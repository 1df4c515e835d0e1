#pragma once
// The set-up the console's end-to-end tests on the small study share: a
// fresh folder with the study imported into study.db, an empty output
// folder, and the component folder the commands run with.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"

namespace workstation::testing {

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
