// What a study export tells about what it did not write, end to end: the
// summary's counts, the IDs the Linkage file's cut makes equal, the exit
// statuses, and an export to standard output.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"

namespace workstation {
namespace {

using harvestor::testing::ReadFile;
using testing::RunHarvestor;

class ExportOutcomeCommandTest : public ::testing::Test {
 protected:
  ExportOutcomeCommandTest() {
    host.WriteLocusList("D1\r\nD2\r\nD3\r\n");
    std::filesystem::create_directories(out);
  }
  // Imports one study from a fragment table and a result table.
  void Import(const std::string& name, const std::string& fragments, const std::string& results) {
    Write(name + "-fragments.tsv", "Result Name\tSubject ID\tLocus\tAllele ID\n" + fragments);
    Write(name + "-results.tsv", "Result Name\tSubject ID\tExcluded\n" + results);
    const auto run =
        RunHarvestor({"import", db, "-n", name, "--fragments", host.Path(name + "-fragments.tsv"),
                      "--results", host.Path(name + "-results.tsv")});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(host.Path(name), std::ios::binary) << text;
  }
  testing::ProcessResult Export(const std::string& study, const std::string& format,
                                const std::string& output) {
    return RunHarvestor({"export-study", db, "-s", study, "-f", format, "-o", output, "--yes"},
                        host.root + "/App/bin");
  }

  harvestor::testing::TestHost host;
  std::string db = host.Path("study.db");
  std::string out = host.Path("Out");
};

TEST_F(ExportOutcomeCommandTest, TheSummaryCountsWhatWasMissingAndNamesIdsMadeEqual) {
  Import("Lab",
         "A1\tABCDEFGHIJK-1\tD1\t10\n"
         "A1\tABCDEFGHIJK-1\tD1\tUnknown Allele\n"
         "A2\tABCDEFGHIJK-2\tD1\t10\n"
         "A2\tABCDEFGHIJK-2\tD2\t12\n"
         "X1\tS9\tD1\t10\n",
         "A1\tABCDEFGHIJK-1\t0\nA2\tABCDEFGHIJK-2\t0\nX1\tS9\t1\n");
  const auto run = Export("Lab", "pedin", out + "/Lab.pre");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  // A1 has no call at D2 or D3, A2 none at D3; S9's only result is excluded.
  EXPECT_NE(run.out.find("Subjects: 2 written, 1 skipped (every result excluded)\n"
                         "Conflicts: 0\n"
                         "Results: 2 processed, 1 excluded, 0 without a subject ID\n"
                         "Loci missing: 3 (2 loci of the list, in 2 subjects)\n"
                         "Unknown alleles: 1\n"
                         "Subject IDs made equal by the Linkage file's 11-character cut:\n"
                         "  ABCDEFGHIJK: ABCDEFGHIJK-1 ABCDEFGHIJK-2\n"),
            std::string::npos)
      << run.out;
  // The other formats keep whole IDs: no group is named.
  const auto dmp = Export("Lab", "dmp", out + "/Lab.txt");
  EXPECT_EQ(dmp.exitStatus, 0) << dmp.err;
  EXPECT_EQ(dmp.out.find("11-character"), std::string::npos) << dmp.out;
}

TEST_F(ExportOutcomeCommandTest, ExitStatusesFromRealRuns) {
  Import("Lab", "A1\tS1\tD1\t10\n", "A1\tS1\t0\n");
  Import("Excluded", "X1\tS9\tD1\t10\n", "X1\tS9\t1\n");
  std::filesystem::create_directories(out + "/Busy.debug");  // the debug copy cannot be written
  const struct Case {
    const char* study;
    const char* format;
    const char* output;
    int status;
    const char* said;  // on standard error
  } cases[] = {
      {"Lab", "pedin", "Lab.pre", 0, ""},
      {"Lab", "pedin", "Busy.pre", 1, "Busy.debug"},
      {"Lab", "gsr", "", 2, "names a folder"},
      {"Excluded", "pedin", "Excluded.pre", 3, "the export wrote no subject"},
      {"Excluded", "gsr", "Excluded.gsr", 3, "every result was excluded"},
      // CSV lists every fragment, the excluded ones too.
      {"Excluded", "csv", "Excluded.csv", 0, ""},
      {"Lab", "pedin", "-", 2, "--output - writes only csv to standard output"},
  };
  for (const Case& c : cases) {
    const std::string output = c.output == std::string("-") ? "-" : out + "/" + c.output;
    const auto run = Export(c.study, c.format, output);
    EXPECT_EQ(run.exitStatus, c.status) << c.study << " " << c.format << " " << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << c.study << " " << c.format << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists("-"));
}

TEST_F(ExportOutcomeCommandTest, CsvGoesToStandardOutputAndTheSummaryToStandardError) {
  Import("Lab", "A1\tS1\tD1\t10\nA1\tS1\tD2\t12\n", "A1\tS1\t0\n");
  const std::string temporary = host.Path("tmp");
  std::filesystem::create_directories(temporary);
  // The child's own temporary folder, which the tests after this one in the
  // same process must not inherit: it is removed with this test's folder.
  struct Unset {
    ~Unset() { ::unsetenv("TMPDIR"); }
  } unset;
  ::setenv("TMPDIR", temporary.c_str(), 1);
  ASSERT_EQ(Export("Lab", "csv", out + "/Lab.csv").exitStatus, 0);
  const auto run = Export("Lab", "csv", "-");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, ReadFile(out + "/Lab.csv"));
  EXPECT_NE(run.err.find("Fragments: 2 written, of 1 subject\n"), std::string::npos) << run.err;
  // The file it goes through is the user's standard output.
  EXPECT_NE(run.err.find("To: standard output\n"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(temporary), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("Files written"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists("-"));
  EXPECT_TRUE(std::filesystem::is_empty(temporary));
}

}  // namespace
}  // namespace workstation
