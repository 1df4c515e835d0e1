// What the console makes of an export log for its summary, and its progress
// bar on a terminal, without running a process.
#include <gtest/gtest.h>

#include <sstream>

#include "workstation/console/ConsoleServices.h"
#include "workstation/console/ExportSummary.h"

namespace workstation::console {
namespace {

harvestor::LineArena Log(const std::vector<std::string>& lines) {
  harvestor::LineArena log;
  for (const std::string& line : lines) log.Append(line);
  return log;
}

TEST(ExportSummaryTest, AStudyLogIsTalliedWithoutRegardToCaseAndIdsEqualWhenCutAreListed) {
  const auto tally =
      scanStudyLog(
          Log({
              "Processing result: R1 for Subject: S1",
              "Excluded result: R2 for Subject: s1",  // S1 is written all the same
              "Processing result: R3 for Subject: s1",
              "\tConflicting Gender for Subject: S1",
              "\tConflicting Father ID for Subject: S1",
              "Excluded result: R4 for Subject: S9",  // S9's only result
              "Excluded result: R5 for Subject: S9",
              "Missing Subject ID for result: R6",
              "\tResult data not included in exported file.",
              "Processing locus: D1 for Subject: S1",
              "Processing result: R7 for Subject: ABCDEFGHIJK-1",
              "\tD1: Unknown Allele",
              "\tD1: unknown allele as a comment\tnot a fragment line",
              "\tHomozygous: Allele ID: Unknown Allele",           // the call, not the fragment
              "Processing result: R8 for Subject: abcdefghijk-1",  // the same subject
              "Processing result: R9 for Subject: ABCDEFGHIJK-2",
              "Processing result: R10 for Subject: ÄBCDEFGHIJK-3",  // 11 characters, 12 bytes
              "Processing result: R11 for Subject: ÄBCDEFGHIJK",
              "Missing locus: D2 for Subject: ABCDEFGHIJK-1",
              "Missing locus: D3 for Subject: ABCDEFGHIJK-1",
              "Missing locus: d2 for Subject: S1",
          }),
          {})
          .tally;
  EXPECT_EQ(tally.subjectsWritten, 5u);
  EXPECT_EQ(tally.subjectsSkipped, 1u);
  EXPECT_EQ(tally.conflicts, 2u);
  EXPECT_EQ(tally.resultsProcessed, 7u);
  EXPECT_EQ(tally.resultsExcluded, 3u);
  EXPECT_EQ(tally.resultsWithoutSubject, 1u);
  EXPECT_EQ(tally.unknownAlleles, 1u);
  EXPECT_EQ(tally.lociMissing, 3u);
  EXPECT_EQ(tally.lociMissingDistinct, 2u);
  EXPECT_EQ(tally.subjectsMissingLoci, 2u);
  EXPECT_EQ(tally.idsEqualWhenCut,
            (std::vector<std::vector<std::string>>{{"ABCDEFGHIJK-1", "ABCDEFGHIJK-2"},
                                                   {"ÄBCDEFGHIJK", "ÄBCDEFGHIJK-3"}}));
  std::ostringstream linkage, other;
  printStudyTally(linkage, tally, true);
  printStudyTally(other, tally, false);
  EXPECT_NE(linkage.str().find("  ABCDEFGHIJK: ABCDEFGHIJK-1 ABCDEFGHIJK-2\n"
                               "  ÄBCDEFGHIJK: ÄBCDEFGHIJK ÄBCDEFGHIJK-3\n"),
            std::string::npos)
      << linkage.str();
  EXPECT_EQ(other.str().find("cut"), std::string::npos);
}

TEST(ExportSummaryTest, AResultExportCountsEachOutcomeAndListsItsFiles) {
  const auto tally = tallyResultExport(Log({
      "Exporting results started: 12/5/2026 2:03:09 PM",
      "Exported: R1 as /out/R1.txt",
      "Error exporting: R2 as /out/R2.txt",
      "Skipped: R3 as /out/R3.txt",
      "Exported: R4 as /out/R4 as well.txt",
      "Exported: R5",  // one of a CRV set
      "Export completed. No errors.",
  }));
  EXPECT_EQ(tally.exported, 3u);
  EXPECT_EQ(tally.failed, 1u);
  EXPECT_EQ(tally.skipped, 1u);
  EXPECT_EQ(tally.files, (std::vector<std::string>{"/out/R1.txt", "/out/R4 as well.txt"}));
}

TEST(ExportSummaryTest, AFileIsWrittenWhenTheLogSaysSoForThatWholeName) {
  const auto log =
      Log({"Exported /out/Study.debug  (as an aid to viewing)", "Exported /out/Study.pre",
           "Exported: /out/Grid.csv", "Can't create /out/Study.log Check file open or disk full."});
  struct Case {
    const char* file;
    bool written;
  } cases[] = {{"/out/Study.debug", true}, {"/out/Study.pre", true}, {"/out/Grid.csv", true},
               {"/out/Study.log", false},  {"/out/Study.pr", false}, {"/out/Study", false}};
  const StudyLogScan scan =
      scanStudyLog(log, {"Export Complete.", "Can't create ", "Exported: ", "", "Processing"});
  for (const Case& c : cases) EXPECT_EQ(recordsWriting(scan.records, c.file), c.written) << c.file;
  EXPECT_EQ(scan.found, (std::vector<bool>{false, true, true, false, false}));
}

TEST(ConsoleProgressTest, OnATerminalTheBarIsRedrawnAFewTimesASecondAndClearedAtTheEnd) {
  std::chrono::steady_clock::time_point now{};
  const auto draws = [](const std::string& err) {
    int n = 0;
    for (std::size_t at = 0; (at = err.find("\r[", at)) != std::string::npos; ++at) ++n;
    return n;
  };
  const std::string cleared = "\r" + std::string(60, ' ') + "\r";
  std::ostringstream err;
  ConsoleProgress bar(err, true, [&now] { return now; });
  bar.Start(1000, 0);  // drawn at 0%
  for (int i = 0; i < 999; ++i) {
    bar.Advance();
    now += std::chrono::milliseconds(1);  // a second for the whole run
  }
  EXPECT_LE(draws(err.str()), 1 + 1000 / 250 + 1);
  EXPECT_GE(draws(err.str()), 3);
  bar.Advance();  // 100% is always shown
  EXPECT_NE(err.str().rfind("100%"), std::string::npos);
  bar.Finish();
  EXPECT_EQ(err.str().substr(err.str().size() - cleared.size()), cleared);
  bar.clear();  // nothing drawn, nothing more to clear
  EXPECT_EQ(err.str().substr(err.str().size() - cleared.size() - 1, 1), "%");

  // A bar left drawn by a run stopped before Finish is cleared when the run ends.
  std::ostringstream stopped;
  ConsoleProgress left(stopped, true, [&now] { return now; });
  left.Start(10, 0);
  left.Advance();
  left.clear();
  EXPECT_EQ(stopped.str().substr(stopped.str().size() - cleared.size()), cleared);
}

}  // namespace
}  // namespace workstation::console
