// harvestor export-results end to end on the small study.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/console/SmallStudyCommandTest.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;
using harvestor::testing::ReadFile;

class ExportResultsCommandTest : public testing::SmallStudyCommandTest {
 protected:
  testing::ProcessResult Export(std::vector<std::string> args) {
    args.insert(args.begin(), {"export-results", db});
    return Run(args);
  }
  std::string each = out + "/{Result Name}";
};

TEST_F(ExportResultsCommandTest, TextFilesCarryTheChosenSections) {
  const auto run = Export({"--format", "text", "--output", each, "--result", "R3", "--result", "R1",
                           "--header", "--result-data"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(ReadFile(out + "/R3.txt"),
            ReadFile(std::string(HARVESTOR_TEST_DATA) + "/smallstudy/R3.txt"));
  // R1's trailing blanks are left out of its file's name.
  EXPECT_EQ(run.out, "Results: 2 exported, 0 failed, 0 skipped\nFiles written:\n" +
                         testing::Sized(out + "/R3.txt") + testing::Sized(out + "/R1.txt") +
                         "The export log is kept in no file; --verbose prints it.\n");
  EXPECT_EQ(run.err.find('\r'), std::string::npos);  // no progress bar off a terminal

  // Again without conflict resolution: the question is answered Cancel by default.
  const auto again =
      Export({"--format", "text", "--output", each, "--result", "R3", "--no-resolve", "--verbose"});
  EXPECT_EQ(again.exitStatus, 0);
  EXPECT_EQ(again.out.find("Results: "), std::string::npos);  // the log instead of the summary
  EXPECT_NE(again.err.find("-> Cancel (the default"), std::string::npos);
  EXPECT_NE(again.out.find("Skipped: R3 as " + out + "/R3.txt"), std::string::npos);
  EXPECT_EQ(Export({"--format", "text", "--output", each, "--result", "R3"}).exitStatus, 0);
  EXPECT_TRUE(fs::exists(out + "/R3_1.txt"));
}

TEST_F(ExportResultsCommandTest, ANativeExportReimportsIdentically) {
  const std::string names[] = {"R3", "R1", "R2", "R4", "R5", "R6"};
  ASSERT_EQ(Export({"--format", "zal", "--output", each, "--all"}).exitStatus, 0);
  std::vector<std::string> args{"import", host.Path("again.db"), "--name", "Again"};
  for (const std::string& name : names)
    args.insert(args.end(), {"--native", out + "/" + name + ".zlu"});
  ASSERT_EQ(Run(args).exitStatus, 0);
  const std::string again = host.Path("Again");
  fs::create_directories(again);
  ASSERT_EQ(Run({"export-results", host.Path("again.db"), "--format", "zal", "--output",
                 again + "/{Result Name}", "--all"})
                .exitStatus,
            0);
  for (const std::string& name : names)
    EXPECT_EQ(ReadFile(again + "/" + name + ".zlu"), ReadFile(out + "/" + name + ".zlu")) << name;
}

// The genotype exports' own check of the file is StoreFileTest's.
TEST_F(ExportResultsCommandTest, NoExportChangesTheStudyDatabase) {
  const std::string before = ReadFile(db);
  host.WriteLocusList("D1\r\n");
  const std::vector<std::vector<std::string>> runs = {
      {"export-study", db, "--format", "csv", "--output", out + "/s.csv"},
      {"export-results", db, "--format", "text", "--output", each, "--all", "--header"},
      {"export-results", db, "--format", "zal", "--output", each, "--all"},
      {"export-results", db, "--format", "crv", "--output", out + "/Plate", "--result", "R3",
       "--result", "R1   "},
  };
  for (const auto& args : runs) EXPECT_EQ(Run(args).exitStatus, 0) << args[2] << " " << args[3];
  // A CRV set has a column per result, in the order selected, names as given.
  EXPECT_EQ(ReadFile(out + "/Plate_D1.CRV"), "1,\r\n2,\r\n3.5,\r\n");
  EXPECT_EQ(ReadFile(out + "/Plate_CRV_TRACE_ORDER.txt"), "R3\r\nR1   \r\n");
  Run({"loh", db});
  Run({"locus-list", "edit", db, "--all", "--yes"});
  EXPECT_EQ(ReadFile(db), before);
}

TEST_F(ExportResultsCommandTest, RefusalsWriteNothing) {
  const auto placeholder = Export({"--format", "crv", "--output", each, "--all"});
  EXPECT_EQ(placeholder.exitStatus, 2);
  EXPECT_NE(placeholder.err.find("{Result Name} is not a valid file name for CRV export."),
            std::string::npos);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--format", "crv", "--output", out + "/x", "--all", "--header"},
        {"--format", "text", "--output", out + "/x", "--result", "Nope"},
        {"--format", "text", "--output", out + "/x"}})
    EXPECT_EQ(Export(args).exitStatus, 2) << args[1] << " " << args.back();
  EXPECT_TRUE(fs::is_empty(out));
}

}  // namespace
}  // namespace workstation
