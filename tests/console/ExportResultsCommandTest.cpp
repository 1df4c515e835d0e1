// harvestor export-results end to end on a small imported study: text,
// native (re-imported identically) and CRV, and the refusals.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/console/SmallStudyCommandTest.h"
#include "workstation/store/StudyDatabase.h"

namespace workstation {
namespace {

using harvestor::testing::ReadFile;
using testing::RunHarvestor;

class ExportResultsCommandTest : public testing::SmallStudyCommandTest {
 protected:
  testing::ProcessResult Export(std::vector<std::string> args) {
    args.insert(args.begin(), {"export-results", db});
    return Run(args);
  }
};

TEST_F(ExportResultsCommandTest, TextFilesCarryTheChosenSections) {
  const auto run = Export({"--format", "text", "--output", out + "/{Result Name}", "--result", "R3",
                           "--result", "R1", "--header", "--result-data"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(ReadFile(out + "/R3.txt"),
            ReadFile(std::string(HARVESTOR_TEST_DATA) + "/smallstudy/R3.txt"));
  EXPECT_TRUE(std::filesystem::exists(out + "/R1.txt"));  // trailing blanks left out of the name
  auto sized = [](const std::string& file) {
    return "  " + file + " (" + std::to_string(std::filesystem::file_size(file)) + " bytes)\n";
  };
  EXPECT_EQ(run.out, "Results: 2 exported, 0 failed, 0 skipped\nFiles written:\n" +
                         sized(out + "/R3.txt") + sized(out + "/R1.txt") +
                         "The export log is kept in no file; --verbose prints it.\n");
  EXPECT_EQ(run.err.find('\r'), std::string::npos);  // no progress bar off a terminal

  // Again without conflict resolution: the question is answered Cancel by default.
  const auto again = Export({"--format", "text", "--output", out + "/{Result Name}", "--result",
                             "R3", "--no-resolve", "--verbose"});
  EXPECT_EQ(again.exitStatus, 0);
  EXPECT_EQ(again.out.find("Results: "), std::string::npos);  // the log instead of the summary
  EXPECT_NE(again.err.find("-> Cancel (the default"), std::string::npos);
  EXPECT_NE(again.out.find("Skipped: R3 as " + out + "/R3.txt"), std::string::npos);
  const auto resolved =
      Export({"--format", "text", "--output", out + "/{Result Name}", "--result", "R3"});
  EXPECT_EQ(resolved.exitStatus, 0);
  EXPECT_TRUE(std::filesystem::exists(out + "/R3_1.txt"));
}

TEST_F(ExportResultsCommandTest, ANativeExportReimportsIdentically) {
  const auto run = Export({"--format", "zal", "--output", out + "/{Result Name}", "--all"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  std::vector<std::string> args{"import", host.Path("again.db"), "--name", "Again"};
  for (const char* name : {"R3", "R1", "R2", "R4", "R5", "R6"}) {
    args.push_back("--native");
    args.push_back(out + "/" + name + ".zlu");
  }
  ASSERT_EQ(RunHarvestor(args).exitStatus, 0);
  const auto original = StudyDatabase(db).loadStudy("Small");
  const auto again = StudyDatabase(host.Path("again.db")).loadStudy("Again");
  ASSERT_EQ(again->Results()->Count(), original->Results()->Count());
  for (int i = 0; i < original->Results()->Count(); ++i) {
    const auto a = original->Results()->Item(i);
    const auto b = again->Results()->Item(i);
    EXPECT_EQ(a->Result()->ResultName(), b->Result()->ResultName());
    EXPECT_EQ(a->Result()->Sample()->SubjectID(), b->Result()->Sample()->SubjectID());
    for (std::int16_t dye = 1; dye <= 4; ++dye) {
      EXPECT_EQ(a->Result()->Sample()->Trace(dye), b->Result()->Sample()->Trace(dye));
    }
    ASSERT_EQ(a->Fragments()->Count(), b->Fragments()->Count());
    for (int f = 0; f < a->Fragments()->Count(); ++f) {
      const auto& x = a->Fragments()->Item(f);
      const auto& y = b->Fragments()->Item(f);
      EXPECT_EQ(x.Locus() + x.AlleleID() + x.Comment(), y.Locus() + y.AlleleID() + y.Comment());
      EXPECT_EQ(x.ConditionCode(), y.ConditionCode());
      EXPECT_EQ(x.FragmentSize(), y.FragmentSize());
    }
  }
}

TEST_F(ExportResultsCommandTest, ACrvSetHasOneColumnPerResult) {
  const auto run = Export(
      {"--format", "crv", "--output", out + "/Plate", "--result", "R3", "--result", "R1   "});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(ReadFile(out + "/Plate_D1.CRV"), "1,\r\n2,\r\n3.5,\r\n");
  EXPECT_EQ(ReadFile(out + "/Plate_D2.CRV"), ",5\r\n");
  EXPECT_EQ(ReadFile(out + "/Plate_D3.CRV"), "");
  EXPECT_EQ(ReadFile(out + "/Plate_CRV_TRACE_ORDER.txt"), "R3\r\nR1   \r\n");
  EXPECT_NE(run.err.find("Exporting: Plate_D1.CRV, Plate_D2.CRV, Plate_D3.CRV, Plate_D4.CRV, "
                         "Plate_CRV_TRACE_ORDER.txt"),
            std::string::npos);
}

TEST_F(ExportResultsCommandTest, NoExportChangesTheStudyDatabase) {
  const std::string before = ReadFile(db);
  host.WriteLocusList("D1\r\n");
  for (const char* format : {"csv", "pedin", "dmp", "gsr"}) {
    EXPECT_EQ(
        Run({"export-study", db, "--format", format, "--output", out + "/s." + format}).exitStatus,
        0);
  }
  EXPECT_EQ(Export({"--format", "text", "--output", out + "/{Result Name}", "--all", "--header"})
                .exitStatus,
            0);
  EXPECT_EQ(Export({"--format", "zal", "--output", out + "/{Result Name}", "--all"}).exitStatus, 0);
  EXPECT_EQ(Export({"--format", "crv", "--output", out + "/Plate", "--result", "R3"}).exitStatus,
            0);
  Run({"loh", db});
  Run({"locus-list", "edit", db, "--all", "--yes"});
  EXPECT_EQ(ReadFile(db), before);
}

TEST_F(ExportResultsCommandTest, RefusalsWriteNothing) {
  const auto placeholder = Export({"--format", "crv", "--output", out + "/{Result Name}", "--all"});
  EXPECT_EQ(placeholder.exitStatus, 2);
  EXPECT_NE(placeholder.err.find("{Result Name} is not a valid file name for CRV export."),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(out));
  EXPECT_EQ(Export({"--format", "crv", "--output", out + "/x", "--all", "--header"}).exitStatus, 2);
  EXPECT_EQ(Export({"--format", "text", "--output", out + "/x", "--result", "Nope"}).exitStatus, 2);
  EXPECT_EQ(Export({"--format", "text", "--output", out + "/x"}).exitStatus, 2);
  EXPECT_TRUE(std::filesystem::is_empty(out));
}

}  // namespace
}  // namespace workstation
