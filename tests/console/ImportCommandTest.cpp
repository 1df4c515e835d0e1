// The harvestor command as a user runs it: help, usage errors and import.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"
#include "workstation/store/StudyDatabase.h"

namespace workstation {
namespace {

using harvestor::testing::TestHost;
using harvestor::testing::WriteFile;
using testing::RunHarvestor;

TEST(ImportCommandTest, HelpAndUsageErrors) {
  const auto overview = RunHarvestor({"--help"});
  EXPECT_EQ(overview.exitStatus, 0);
  EXPECT_NE(overview.out.find("import"), std::string::npos);
  const auto help = RunHarvestor({"import", "--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.out.rfind("usage: harvestor import STUDY.db", 0), 0u);

  const auto unknown = RunHarvestor({"import", "x.db", "--colour", "red"});
  EXPECT_EQ(unknown.exitStatus, 2);
  EXPECT_EQ(unknown.err,
            "harvestor import: unknown option '--colour'\n"
            "Run 'harvestor import --help' for usage.\n");
  EXPECT_EQ(RunHarvestor({"frobnicate"}).exitStatus, 2);
  EXPECT_EQ(RunHarvestor({}).exitStatus, 2);
}

TEST(ImportCommandTest, ImportsAStudyAndRefusesABadTableWritingNothing) {
  TestHost host;
  const std::string good = host.Path("good.tsv"), bad = host.Path("bad.tsv");
  WriteFile(good, "Result Name\tSubject ID\tLocus\tAllele ID\nR1\tS1\tD1\t12\nR2\tS2\tD1\t14\n");
  WriteFile(bad, "Result Name\tSubject ID\tPeak Area\nR1\tS1\tlarge\n");
  const std::string db = host.Path("study.db");

  const auto refused = RunHarvestor({"import", db, "--name", "Run 1", "--fragments", bad});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_EQ(refused.err, "harvestor import: " + bad +
                             ":2: 'large' in column 'Peak Area' is not a number\n");
  EXPECT_FALSE(std::filesystem::exists(db));

  const auto imported = RunHarvestor({"import", db, "--name", "Run 1", "--fragments", good});
  EXPECT_EQ(imported.exitStatus, 0) << imported.err;
  EXPECT_EQ(imported.out, "Imported study 'Run 1' into " + db + ": 2 results, 2 fragments.\n");
  EXPECT_EQ(StudyDatabase(db).loadStudy("Run 1")->Results()->Count(), 2);

  const auto again = RunHarvestor({"import", db, "--name", "Run 1", "--fragments", good});
  EXPECT_EQ(again.exitStatus, 1);
  EXPECT_NE(again.err.find("a study named 'Run 1' exists already"), std::string::npos);
}

}  // namespace
}  // namespace workstation
