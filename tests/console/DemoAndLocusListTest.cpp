// harvestor demo and harvestor locus-list, run as a user runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"

namespace workstation {
namespace {

using harvestor::testing::ReadFile;
using testing::RunHarvestor;

TEST(DemoAndLocusListTest, LocusListCommandsReadAndWriteTheExportFoldersList) {
  harvestor::testing::TestHost host;
  const std::string component = host.root + "/App/bin";
  const auto path = RunHarvestor({"locus-list", "path"}, component);
  EXPECT_EQ(path.out, host.exportFolder + "/LocusList.txt\n");
  EXPECT_EQ(RunHarvestor({"locus-list", "show"}, component).exitStatus, 1);
  EXPECT_EQ(RunHarvestor({"locus-list", "set", "D8S1179", "vWA", "Penta D"}, component).exitStatus,
            0);
  EXPECT_EQ(ReadFile(host.exportFolder + "/LocusList.txt"), "D8S1179\r\nvWA\r\nPenta D\r\n");
  EXPECT_EQ(RunHarvestor({"locus-list", "show"}, component).out, "D8S1179\nvWA\nPenta D\n");
  EXPECT_EQ(RunHarvestor({"locus-list", "frob"}, component).exitStatus, 2);
}

TEST(DemoAndLocusListTest, DemoBuildsTheStudyAndExportsEveryFormat) {
  harvestor::testing::TestHost host;
  const auto run = RunHarvestor({"demo"}, host.root + "/App/bin");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(std::filesystem::is_regular_file(host.root + "/App/Demo/Demo.db"));
  // Each format keeps its own files and log.
  for (const char* file :
       {"LocusList.txt", "Demo-csv.csv", "Demo-pedin.pre", "Demo-pedin.debug", "Demo-pedin.log",
        "Demo-dmp.txt", "Demo-dmp.log", "Demo-gsr.gsr", "Demo-gsr.log", "Results/Demo_D1.CRV"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(host.exportFolder + "/" + file)) << file;
  }
  const std::string linkage = ReadFile(host.exportFolder + "/Demo-pedin.pre");
  EXPECT_EQ(linkage.substr(0, 14), "FAM1 F1-01 ? ?");
  for (const char* log : {"Demo-pedin.log", "Demo-dmp.log", "Demo-gsr.log"}) {
    EXPECT_NE(
        ReadFile(host.exportFolder + "/" + log).find("\tConflicting Gender for Subject: F3-03"),
        std::string::npos)
        << log;
  }
  // A summary per step, not every file's progress: the full logs are in their files.
  const auto lines = std::count(run.out.begin(), run.out.end(), '\n') +
                     std::count(run.err.begin(), run.err.end(), '\n');
  EXPECT_LT(lines, 120) << run.out << run.err;
  EXPECT_NE(run.out.find("/Results/Demo_CRV_TRACE_ORDER.txt ("), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("more files ("), std::string::npos) << run.out;
  // A second run reuses the database and the list.
  const auto again = RunHarvestor({"demo"}, host.root + "/App/bin");
  EXPECT_EQ(again.exitStatus, 0);
  EXPECT_EQ(again.out.find("Built the demo study database"), std::string::npos);
}

}  // namespace
}  // namespace workstation
