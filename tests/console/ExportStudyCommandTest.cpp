// harvestor export-study end to end on the small study. (Every format's bytes
// on a larger study are StreamedExportTest's.)
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <regex>

#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/Text.h"
#include "tests/console/SmallStudyCommandTest.h"
#include "tests/genotype/SmallStudy.h"
#include "workstation/store/Database.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;
using harvestor::ReplaceAll;
using harvestor::testing::ReadFile;

std::string MaskTimes(const std::string& text) {
  static const std::regex stamp(
      "(Created|Processing started|Processing aborted by user): [^\r\n]*");
  return std::regex_replace(text, stamp, "$1: {TIME}");
}

class ExportStudyCommandTest : public testing::SmallStudyCommandTest {
 protected:
  testing::ProcessResult Export(const std::string& format, const std::string& file,
                                std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"export-study", db, "--format", format, "--output", file};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(args);
  }
  std::string Expected(const std::string& name) {
    return harvestor::testing::ExpectedFile(name, out, host.exportFolder);
  }
};

TEST_F(ExportStudyCommandTest, LinkageExportWritesItsFilesAndASummaryOrWithVerboseTheLog) {
  host.WriteLocusList("D1\r\nD2\r\nD3\r\n");
  const auto run = Export("pedin", out + "/Study.pre");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(ReadFile(out + "/Study.pre"), Expected("Study.pre"));
  EXPECT_EQ(MaskTimes(ReadFile(out + "/Study.debug")), MaskTimes(Expected("Study.debug")));
  const std::string pageLines = harvestor::testing::CrLf(
      {"Using locus list: " + host.exportFolder + "/LocusList.txt",
       "Exporting as Pedin format: " +
           harvestor::ResultExportRoutines::ShortenLongPaths(out + "/Study.pre"),
       "Processing started: {TIME}"});
  // The subjects table gives R5 an empty Affectation Status, read as unknown
  // (0), which conflicts with R1's 2 (the component tests' study has none).
  const std::string gender = "\tConflicting Gender for Subject: S1\r\n";
  const std::string log =
      ReplaceAll(Expected("Study.log"), gender,
                 gender + "\tConflicting Affectation Status for Subject: S1\r\n");
  EXPECT_EQ(MaskTimes(ReadFile(out + "/Study.log")), pageLines + log);
  // S1's excluded result R4 skips no subject: S1 has others. R2 has no subject ID.
  EXPECT_EQ(run.out,
            "Subjects: 3 written, 0 skipped (every result excluded)\n"
            "Conflicts: 2\n"
            "Results: 4 processed, 1 excluded, 1 without a subject ID\n"
            "Loci missing: 3 (2 loci of the list, in 2 subjects)\n"
            "Unknown alleles: 1\n"
            "Files written:\n" +
                testing::Sized(out + "/Study.debug") + testing::Sized(out + "/Study.pre") +
                testing::Sized(out + "/Study.log") + "Export log: " + out + "/Study.log\n");
  // Standard error is no terminal here: no progress bar is drawn.
  EXPECT_EQ(run.err.find('\r'), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Format: Pedin"), std::string::npos);
  const auto verbose = Export("pedin", out + "/Study.pre", {"--verbose"});
  EXPECT_EQ(verbose.exitStatus, 0) << verbose.err;
  EXPECT_EQ(MaskTimes(verbose.out),
            ReplaceAll(pageLines + log + "Export Complete.\r\n", "\r\n", "\n"));
}

TEST_F(ExportStudyCommandTest, WithoutALocusListTheQuestionIsAnsweredNoUnlessYes) {
  const auto no = Export("gsr", out + "/Study.gsr");
  EXPECT_EQ(no.exitStatus, 1);
  EXPECT_NE(no.err.find("Missing or empty LocusList.Txt. Please view the Locus List Editor. "
                        "Continue?\n  -> No (the default"),
            std::string::npos);
  EXPECT_NE(no.out.find("No files written.\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(out + "/Study.gsr"));
  const auto yes = Export("gsr", out + "/Study.gsr", {"--yes"});
  EXPECT_EQ(yes.exitStatus, 0) << yes.err;
  EXPECT_EQ(ReadFile(out + "/Study.gsr"), "Subject ID\r\nS1\r\nS2\r\nS3ABCDEFGHIJKLM\r\n");
}

TEST_F(ExportStudyCommandTest, ExitStatusesFromRealRuns) {
  host.WriteLocusList("D1\r\nD2\r\nD3\r\n");
  harvestor::testing::WriteFile(host.Path("x-fragments.tsv"),
                                "Result Name\tSubject ID\tLocus\tAllele ID\nX1\tS9\tD1\t10\n");
  harvestor::testing::WriteFile(host.Path("x-results.tsv"),
                                "Result Name\tSubject ID\tExcluded\nX1\tS9\t1\n");
  ASSERT_EQ(Run({"import", db, "-n", "Excluded", "--fragments", host.Path("x-fragments.tsv"),
                 "--results", host.Path("x-results.tsv")})
                .exitStatus,
            0);
  fs::create_directories(out + "/Busy.debug");  // the debug copy cannot be written
  const struct {
    const char* study;
    const char* format;
    const char* output;
    int status;
    const char* said;  // on standard error
  } cases[] = {
      {"Small", "pedin", "Lab.pre", 0, ""},
      {"Small", "pedin", "Busy.pre", 1, "Busy.debug"},
      {"Small", "gsr", "", 2, "names a folder"},
      {"Excluded", "pedin", "Excluded.pre", 3, "the export wrote no subject"},
      {"Excluded", "gsr", "Excluded.gsr", 3, "every result was excluded"},
      // CSV lists every fragment, the excluded ones too.
      {"Excluded", "csv", "Excluded.csv", 0, ""},
      {"Small", "pedin", "-", 2, "--output - writes only csv to standard output"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.study) + " " + c.format + " " + c.output);
    const std::string output = c.output == std::string("-") ? "-" : out + "/" + c.output;
    const auto run = Export(c.format, output, {"-s", c.study, "--yes"});
    EXPECT_EQ(run.exitStatus, c.status) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists("-"));
}

// A run the store stops part way has taken subjects into its table but kept
// no file: its summary must not say they were written.
TEST_F(ExportStudyCommandTest, AnExportTheStoreStopsWritesNoSubject) {
  host.WriteLocusList("D1\r\nD2\r\nD3\r\n");
  {
    Database damaged(db, Database::Mode::ReadWrite);
    damaged.exec(
        "UPDATE study_results SET fragments = x'0102' "
        "WHERE position = (SELECT max(position) FROM study_results)");
  }
  for (const char* format : {"pedin", "csv"}) {
    SCOPED_TRACE(format);
    const auto run = Export(format, out + "/Damaged.txt", {"--yes"});
    EXPECT_EQ(run.exitStatus, 1) << run.err;
    EXPECT_NE(run.err.find("damaged fragment data"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.starts_with(format == std::string("csv") ? "Fragments: 0 written, of 0"
                                                                 : "Subjects: 0 written"))
        << run.out;
    EXPECT_NE(run.out.find("No files written.\n"), std::string::npos) << run.out;
    EXPECT_TRUE(fs::is_empty(out)) << format;
  }
}

TEST_F(ExportStudyCommandTest, CsvGoesToStandardOutputAndTheSummaryToStandardError) {
  const std::string temporary = host.Path("tmp");
  fs::create_directories(temporary);
  // Later tests in this process must not inherit the child's temporary folder.
  struct Unset {
    ~Unset() { ::unsetenv("TMPDIR"); }
  } unset;
  ::setenv("TMPDIR", temporary.c_str(), 1);
  ASSERT_EQ(Export("csv", out + "/Grid.csv").exitStatus, 0);
  EXPECT_FALSE(fs::exists(out + "/Grid.log"));
  const auto run = Export("csv", "-");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, ReadFile(out + "/Grid.csv"));
  EXPECT_NE(run.err.find("Fragments: 12 written, of 3 subjects\n"), std::string::npos) << run.err;
  // The file it goes through is named as the user's standard output.
  EXPECT_NE(run.err.find("To: standard output\n"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(temporary), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("Files written"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists("-"));
  EXPECT_TRUE(fs::is_empty(temporary));
}

}  // namespace
}  // namespace workstation
