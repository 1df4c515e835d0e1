// harvestor import as a user runs it: its help, what it says of a study
// imported, and refusals that leave the database as it was. (What it prints
// for each kind of input is LabFormatImportTest's table of example files.)
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

// The command line's conventions and usage errors are CommandLineTest's.
TEST(ImportCommandTest, HelpNamesTheTablesLimitsAndStrict) {
  const auto help = RunHarvestor({"import", "--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("the highest scan index is 999999"), std::string::npos);
  EXPECT_NE(help.out.find("unknown column 'Pedigre ID' (did you mean 'Pedigree ID'?)"),
            std::string::npos);
  EXPECT_NE(help.out.find("--strict refuses"), std::string::npos);
}

// A fragment's values are checked as its result is read, after the results
// before it in the study's order went into the transaction: the refusal still
// names the row's line, and a new database is not made. (Into a database
// that holds a study, the file is left to the byte: StoreTest's, on both
// engines.)
TEST(ImportCommandTest, AFragmentRefusedAfterEarlierResultsWentInMakesNoDatabase) {
  TestHost host;
  const std::string db = host.Path("study.db"), results = host.Path("results.tsv");
  const std::string bad = host.Path("f.tsv");
  WriteFile(results, "Result Name\nR3\nR1\n");
  // In the study's order R3, R1 (lines 2 and 6), then R2 (lines 3 and 7).
  WriteFile(bad,
            "Result Name\tSubject ID\tPeak Area\nR1\tS1\t1\nR2\tS2\t2\nR3\tS3\t3\n\n"
            "R1\tS1\t4\nR2\tS2\tlarge\n");
  const auto refused =
      RunHarvestor({"import", db, "--name", "Late", "--fragments", bad, "--results", results});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_EQ(refused.err,
            "harvestor import: " + bad + ":7: column 'Peak Area': 'large' is not a number\n");
  EXPECT_EQ(refused.out, "");
  EXPECT_FALSE(std::filesystem::exists(db));
}

// A lab's misspelt subjects column would have been a property of its own,
// and every subject without its pedigree, without a word.
TEST(ImportCommandTest, AMisspeltSubjectsColumnIsAWarningAndWithStrictARefusal) {
  TestHost host;
  const std::string db = host.Path("study.db"), fragments = host.Path("fragments.tsv");
  const std::string subjects = host.Path("subjects.tsv");
  WriteFile(fragments, "Result Name\tSubject ID\nR1\tS1\n");
  WriteFile(subjects, "Subject ID\tPedigre ID\tFavourite colour\nS1\tFAM1\tred\n");
  const std::string warning =
      subjects + ":1: unknown column 'Pedigre ID' (did you mean 'Pedigree ID'?)";
  const auto import = [&](const std::string& name, bool strict) {
    std::vector<std::string> args{"import",      db,        "--name",     name,
                                  "--fragments", fragments, "--subjects", subjects};
    if (strict) args.push_back("--strict");
    return RunHarvestor(args);
  };

  const auto refused = import("Strict", true);
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_EQ(refused.err, "harvestor import: " + warning + "; refused under --strict\n");
  EXPECT_EQ(refused.out, "");
  EXPECT_FALSE(std::filesystem::exists(db));

  const auto warned = import("Lax", false);
  EXPECT_EQ(warned.exitStatus, 0);
  EXPECT_EQ(warned.err, warning + "\n");
  EXPECT_EQ(warned.out, "Imported study 'Lax' into " + db + ": 1 results, 1 fragments.\n");
  const auto properties = StudyDatabase(db)
                              .loadStudy("Lax")
                              ->Results()
                              ->Item(0)
                              ->Result()
                              ->Sample()
                              ->SubjectRecord()
                              ->Properties();
  ASSERT_EQ(properties->Count(), 2);
  EXPECT_EQ(properties->Item(0).Name, "Pedigre ID");

  EXPECT_EQ(import("Strict", true).exitStatus, 1);
  EXPECT_EQ(StudyDatabase(db).studyNames(), std::vector<std::string>{"Lax"});
}

}  // namespace
}  // namespace workstation
