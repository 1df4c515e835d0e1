// harvestor loh and harvestor locus-list edit on a small imported study.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/console/SmallStudyCommandTest.h"

namespace workstation {
namespace {

using harvestor::testing::ReadFile;

using LohAndEditorCommandTest = testing::SmallStudyCommandTest;

TEST_F(LohAndEditorCommandTest, LohWritesTheInputFileAndSaysWhyCalcCannotOpen) {
  const auto missing = Run({"loh", db});
  EXPECT_EQ(missing.exitStatus, 1);
  if (missing.err.find("has not been installed") != std::string::npos)
    GTEST_SKIP() << "no Calc here";
  EXPECT_NE(
      missing.err.find("LOH Analysis: The LOH spreadsheet is missing. \nTo run LOH analysis: \n"
                       "install file: LOH.xls\nin directory: " +
                       host.root + "/App/ReportTemplates\n"),
      std::string::npos)
      << missing.err;
  EXPECT_FALSE(std::filesystem::exists(host.exportFolder + "/InputLOH.temp"));

  std::filesystem::create_directories(host.root + "/App/ReportTemplates");
  std::filesystem::copy_file(std::string(HARVESTOR_BUILD_DIR) + "/ReportTemplates/LOH.xls",
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
  const auto run = Run({"locus-list", "edit", db, "--select", "D2", "--select", "D1", "--all",
                        "--up", "D3", "--yes"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  // D1 and D2 move together, last first; then the rest; then D3 one place up.
  EXPECT_EQ(ReadFile(host.exportFolder + "/LocusList.txt"), "D2\r\nD3\r\nD1\r\n");
  EXPECT_NE(run.out.find("Selected Loci:\n  D2\n  D3\n  D1\n"), std::string::npos) << run.out;
  const auto kept = Run({"locus-list", "edit", db, "--none", "--no"});
  EXPECT_EQ(kept.exitStatus, 0);
  EXPECT_EQ(ReadFile(host.exportFolder + "/LocusList.txt"), "D2\r\nD3\r\nD1\r\n");
  EXPECT_EQ(Run({"locus-list", "edit", db, "--select", "D9"}).exitStatus, 2);
}

}  // namespace
}  // namespace workstation
