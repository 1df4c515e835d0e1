// harvestor locus-list, demo and loh, run as a user runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/console/SmallStudyCommandTest.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;
using harvestor::testing::ReadFile;
using testing::RunHarvestor;

TEST(DemoAndLocusListTest, LocusListCommandsReadAndWriteTheExportFoldersList) {
  harvestor::testing::TestHost host;
  const std::string component = host.root + "/App/bin", list = host.exportFolder + "/LocusList.txt";
  EXPECT_EQ(RunHarvestor({"locus-list", "path"}, component).out, list + "\n");
  EXPECT_EQ(RunHarvestor({"locus-list", "show"}, component).exitStatus, 1);
  EXPECT_EQ(RunHarvestor({"locus-list", "set", "D8S1179", "Penta D"}, component).exitStatus, 0);
  EXPECT_EQ(ReadFile(list), "D8S1179\r\nPenta D\r\n");
  EXPECT_EQ(RunHarvestor({"locus-list", "show"}, component).out, "D8S1179\nPenta D\n");
  EXPECT_EQ(RunHarvestor({"locus-list", "frob"}, component).exitStatus, 2);
}

TEST(DemoAndLocusListTest, DemoBuildsTheStudyAndExportsEveryFormatWithASummaryPerStep) {
  harvestor::testing::TestHost host;
  const auto run = RunHarvestor({"demo"}, host.root + "/App/bin");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(fs::is_regular_file(host.root + "/App/Demo/Demo.db"));
  for (const char* file : {"LocusList.txt", "Demo-csv.csv", "Demo-pedin.pre", "Demo-pedin.log",
                           "Demo-dmp.log", "Demo-gsr.gsr", "Demo-gsr.log", "Results/Demo_D1.CRV"})
    EXPECT_TRUE(fs::is_regular_file(host.exportFolder + "/" + file)) << file;
  // Not every file's progress: the logs are in their files.
  EXPECT_LT(std::count(run.out.begin(), run.out.end(), '\n') +
                std::count(run.err.begin(), run.err.end(), '\n'),
            120)
      << run.out << run.err;
  EXPECT_NE(run.out.find("more files ("), std::string::npos) << run.out;
  // A second run reuses the database and the list.
  const auto again = RunHarvestor({"demo"}, host.root + "/App/bin");
  EXPECT_EQ(again.exitStatus, 0);
  EXPECT_EQ(again.out.find("Built the demo study database"), std::string::npos);
}

using LohAndEditorCommandTest = testing::SmallStudyCommandTest;

TEST_F(LohAndEditorCommandTest, LohWritesTheInputFileAndSaysWhyCalcCannotOpen) {
  const auto missing = Run({"loh", db});
  EXPECT_EQ(missing.exitStatus, 1);
  if (missing.err.find("has not been installed") != std::string::npos)
    GTEST_SKIP() << "no Calc here";
  EXPECT_NE(missing.err.find("The LOH spreadsheet is missing. \nTo run LOH analysis: \n"
                             "install file: LOH.xls\nin directory: " +
                             host.root + "/App/ReportTemplates\n"),
            std::string::npos)
      << missing.err;
  EXPECT_FALSE(fs::exists(host.exportFolder + "/InputLOH.temp"));

  fs::create_directories(host.root + "/App/ReportTemplates");
  fs::copy_file(std::string(HARVESTOR_BUILD_DIR) + "/ReportTemplates/LOH.xls",
                host.root + "/App/ReportTemplates/LOH.xls");
  const auto headless = Run({"loh", db});
  EXPECT_EQ(headless.exitStatus, 1);
  EXPECT_NE(headless.err.find("there is no display"), std::string::npos);
  const std::string input = ReadFile(host.exportFolder + "/InputLOH.temp");
  EXPECT_EQ(input.substr(0, input.find("\r\n")),
            "Result Name,Dye,Fragment Size,Peak Height,Locus,Allele ID,Comment,Peak Area");
  EXPECT_NE(input.find("\r\n\"R1\",1,0,0,\"D1\",\"12\",\"\",0\r\n"), std::string::npos);
  EXPECT_EQ(input.find("\"R4\""), std::string::npos);  // an excluded result is left out
}

TEST_F(LohAndEditorCommandTest, TheEditorBuildsAListFromScratch) {
  const std::string list = host.exportFolder + "/LocusList.txt";
  const auto run = Run({"locus-list", "edit", db, "--select", "D2", "--select", "D1", "--all",
                        "--up", "D3", "--yes"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  // D1 and D2 move together, last first; then the rest; then D3 one place up.
  EXPECT_EQ(ReadFile(list), "D2\r\nD3\r\nD1\r\n");
  EXPECT_NE(run.out.find("Selected Loci:\n  D2\n  D3\n  D1\n"), std::string::npos) << run.out;
  EXPECT_EQ(Run({"locus-list", "edit", db, "--none", "--no"}).exitStatus, 0);
  EXPECT_EQ(ReadFile(list), "D2\r\nD3\r\nD1\r\n");
  EXPECT_EQ(Run({"locus-list", "edit", db, "--select", "D9"}).exitStatus, 2);
}

}  // namespace
}  // namespace workstation
