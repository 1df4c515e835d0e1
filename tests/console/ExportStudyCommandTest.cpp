// harvestor export-study end to end: a small study imported from tables and
// exported in every format, compared byte for byte with files written out
// by hand (the time stamps masked).
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/Text.h"
#include "tests/console/SmallStudyCommandTest.h"
#include "tests/genotype/SmallStudy.h"

namespace workstation {
namespace {

using harvestor::testing::ExpectedFile;
using harvestor::testing::ReadFile;
using testing::RunHarvestor;

std::string MaskTimes(const std::string& text) {
  static const std::regex stamp(
      "(Created|Processing started|Processing aborted by user): [^\r\n]*");
  return std::regex_replace(text, stamp, "$1: {TIME}");
}

class ExportStudyCommandTest : public testing::SmallStudyCommandTest {
 protected:
  testing::ProcessResult Export(const std::string& format, const std::string& file,
                                std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"export-study", db,         "--format",
                                  format,         "--output", out + "/" + file};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(args);
  }
  std::string Expected(const std::string& name) {
    return ExpectedFile(name, out, host.exportFolder);
  }
};

std::string Sized(const std::string& file) {
  return "  " + file + " (" + std::to_string(std::filesystem::file_size(file)) + " bytes)\n";
}

TEST_F(ExportStudyCommandTest, LinkageExportWritesThePreDebugAndLogFiles) {
  host.WriteLocusList("D1\r\nD2\r\nD3\r\n");
  const auto run = Export("pedin", "Study.pre", {"--verbose"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(ReadFile(out + "/Study.pre"), Expected("Study.pre"));
  EXPECT_EQ(MaskTimes(ReadFile(out + "/Study.debug")), MaskTimes(Expected("Study.debug")));
  const std::string pageLines = harvestor::testing::CrLf(
      {"Using locus list: " + host.exportFolder + "/LocusList.txt",
       "Exporting as Pedin format: " +
           harvestor::ResultExportRoutines::ShortenLongPaths(out + "/Study.pre"),
       "Processing started: {TIME}"});
  // The subjects table gives R5 an empty Affectation Status: an entry read
  // as unknown (0), which conflicts with R1's 2 (the small study built for
  // the component's own tests has no such entry).
  const std::string gender = "\tConflicting Gender for Subject: S1\r\n";
  const std::string log =
      harvestor::ReplaceAll(Expected("Study.log"), gender,
                            gender + "\tConflicting Affectation Status for Subject: S1\r\n");
  EXPECT_EQ(MaskTimes(ReadFile(out + "/Study.log")), pageLines + log);
  // With --verbose the log appears on standard output as the page shows it, ending the run.
  EXPECT_EQ(MaskTimes(run.out),
            harvestor::ReplaceAll(pageLines + log + "Export Complete.\r\n", "\r\n", "\n"));
  EXPECT_NE(run.err.find("Format: Pedin"), std::string::npos);
}

TEST_F(ExportStudyCommandTest, WithoutVerboseASummaryTakesThePlaceOfTheLog) {
  host.WriteLocusList("D1\r\nD2\r\nD3\r\n");
  const auto run = Export("pedin", "Study.pre");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  // S1's excluded result R4 skips no subject: S1 has others. R2 has no subject ID.
  // S1's two conflicts: R5's gender, and its empty Affectation Status against R1's 2.
  EXPECT_EQ(run.out,
            "Subjects: 3 written, 0 skipped (every result excluded)\n"
            "Conflicts: 2\n"
            "Results: 4 processed, 1 excluded, 1 without a subject ID\n"
            "Loci missing: 3 (2 loci of the list, in 2 subjects)\n"
            "Unknown alleles: 1\n"
            "Files written:\n" +
                Sized(out + "/Study.debug") + Sized(out + "/Study.pre") +
                Sized(out + "/Study.log") + "Export log: " + out + "/Study.log\n");
  // Standard error is no terminal here: no progress bar is drawn, nothing is rubbed out.
  EXPECT_EQ(run.err.find('\r'), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("[#"), std::string::npos) << run.err;
}

TEST_F(ExportStudyCommandTest, DiscoveryManagerSummaryReportAndCsv) {
  host.WriteLocusList("D1\r\nD2\r\nD3\r\n");
  EXPECT_EQ(Export("dmp", "Study.txt").exitStatus, 0);
  EXPECT_EQ(ReadFile(out + "/Study.txt"), Expected("Study.txt"));
  EXPECT_EQ(Export("gsr", "Study.gsr").exitStatus, 0);
  EXPECT_EQ(ReadFile(out + "/Study.gsr"), Expected("Study.gsr"));
  const auto csv = Export("csv", "Grid.csv");
  EXPECT_EQ(csv.exitStatus, 0) << csv.err;
  EXPECT_EQ(ReadFile(out + "/Grid.csv"), Expected("Study.csv"));
  EXPECT_EQ(csv.out, "Fragments: 12 written, of 3 subjects\nFiles written:\n" +
                         Sized(out + "/Grid.csv") +
                         "The export log is kept in no file; --verbose prints it.\n");
  EXPECT_FALSE(std::filesystem::exists(out + "/Grid.log"));  // only the genotype formats write one
}

TEST_F(ExportStudyCommandTest, TheLocusListQuestionIsAnsweredByOptionOrTheDefault) {
  const auto defaulted = Export("gsr", "Study.gsr");
  EXPECT_EQ(defaulted.exitStatus, 1);
  EXPECT_NE(defaulted.err.find("Missing or empty LocusList.Txt. Please view the Locus List Editor. "
                               "Continue?\n  -> No (the default"),
            std::string::npos);
  EXPECT_NE(defaulted.out.find("No files written.\n"), std::string::npos);
  const auto verbose = Export("gsr", "Study.gsr", {"--verbose"});
  EXPECT_NE(verbose.out.find("Processing aborted by user: "), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out + "/Study.gsr"));

  const auto yes = Export("gsr", "Study.gsr", {"--yes"});
  EXPECT_EQ(yes.exitStatus, 0) << yes.err;
  EXPECT_EQ(ReadFile(out + "/Study.gsr"), "Subject ID\r\nS1\r\nS2\r\nS3ABCDEFGHIJKLM\r\n");
}

}  // namespace
}  // namespace workstation
