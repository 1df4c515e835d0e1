// harvestor import as a user runs it. (Usage errors are CommandLineTest's; a
// database that holds a study is left to the byte by a refused import:
// StoreTest.)
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;
using harvestor::testing::ReadFile;
using harvestor::testing::TestHost;
using harvestor::testing::WriteFile;
using testing::RunHarvestor;

TEST(LabFormatImportTest, ALinkageFileExportedImportedAndExportedAgainIsTheSame) {
  TestHost host;
  // Two results of one subject, a homozygote, a locus with no call, a missing
  // locus, missing parents and gender, and an ID longer than 11 characters.
  const std::string fragments = host.Path("fragments.tsv"), subjects = host.Path("subjects.tsv");
  WriteFile(fragments,
            "Result Name\tSubject ID\tLocus\tAllele ID\n"
            "R1\tS2\tD1\t12\nR1\tS2\tD1\t14\nR1\tS2\tD2\t9\nR2\tS1\tD1\t8\nR2\tS1\tD3\t\n"
            "R3\tS2\tD3\t21\nR3\tS2\tD3\t20\nR4\tLONGSUBJECT1234\tD2\t7\n");
  WriteFile(subjects,
            "Subject ID\tPedigree ID\tFather ID\tMother ID\tGender\tAffectation Status\t"
            "Liability Class\nS1\tFAM1\tS9\tS8\t1\t2\t0\nS2\tFAM1\t\t\t\t\t3\n"
            "LONGSUBJECT1234\tFAMILYNUMBER2\t\t\t2\t1\t\n");
  const std::string first = host.Path("first.db"), second = host.Path("second.db");
  const std::string firstPre = host.Path("First.pre"), secondPre = host.Path("Second.pre");
  const std::string component = host.root + "/App/bin";
  host.WriteLocusList("D1\r\nD2\r\nD3\r\n");
  const std::vector<std::vector<std::string>> steps = {
      {"import", first, "--name", "Small", "--fragments", fragments, "--subjects", subjects},
      {"export-study", first, "--format", "pedin", "--output", firstPre},
      {"import", second, "--name", "Again", "--linkage", firstPre, "--loci",
       host.exportFolder + "/LocusList.txt"},
      {"export-study", second, "--format", "pedin", "--output", secondPre},
  };
  for (const auto& args : steps) {
    const auto run = RunHarvestor(args, component);
    ASSERT_EQ(run.exitStatus, 0) << args[0] << " " << args[1] << ": " << run.err;
  }
  EXPECT_EQ(ReadFile(firstPre),
            "FAMILYNUMBE LONGSUBJECT ? ? 2 1 0 ? ? 7 7 ? ?\r\n"
            "FAM1 S1 S9 S8 1 2 0 8 8 ? ? ? ?\r\n"
            "FAM1 S2 ? ? ? 0 3 12 14 9 9 21 20\r\n");
  EXPECT_EQ(ReadFile(secondPre), ReadFile(firstPre));
}

// A misspelt column is a warning only: without --strict the import lands.
TEST(LabFormatImportTest, EachExampleFileImports) {
  const std::string examples = std::string(HARVESTOR_TEST_DATA) + "/../../examples/";
  TestHost misspelt;
  const std::string fragments = misspelt.Path("fragments.tsv");
  const std::string subjects = misspelt.Path("subjects.tsv");
  WriteFile(fragments, "Result Name\tSubject ID\nR1\tS1\n");
  WriteFile(subjects, "Subject ID\tPedigre ID\nS1\tFAM1\n");
  const struct {
    std::vector<std::string> options;
    std::string counts;
    std::string warned = "";
  } cases[] = {
      {{"--calls", examples + "calls.txt"}, "4 results, 12 fragments"},
      {{"--calls", examples + "calls.csv"}, "4 results, 12 fragments"},
      {{"--genepop", examples + "fish.gen", "--populations", examples + "fish-populations.tsv"},
       "4 results, 15 fragments"},
      {{"--linkage", examples + "family.pre", "--loci", examples + "family-loci.txt"},
       "3 results, 12 fragments"},
      {{"--fragments", examples + "tables/fragments.tsv", "--results",
        examples + "tables/results.tsv", "--subjects", examples + "tables/subjects.tsv", "--traces",
        examples + "tables/traces.tsv", "--strict"},
       "4 results, 8 fragments"},
      {{"--fragments", fragments, "--subjects", subjects},
       "1 results, 1 fragments",
       subjects + ":1: unknown column 'Pedigre ID' (did you mean 'Pedigree ID'?)\n"}};
  for (const auto& c : cases) {
    TestHost host;
    const std::string db = host.Path("study.db");
    std::vector<std::string> args{"import", db, "--name", "Example"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto run = RunHarvestor(args);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "Imported study 'Example' into " + db + ": " + c.counts + ".\n");
    EXPECT_EQ(run.err, c.warned);
  }
}

// Each is refused after part of its input was read: a Genepop file that was
// to become the locus list, a fragment checked after the results before it
// in the study's order went into the transaction, a misspelt column under
// --strict.
TEST(ImportCommandTest, ARefusedImportMakesNoDatabaseAndKeepsTheLocusList) {
  TestHost host;
  const std::string db = host.Path("study.db"), list = host.exportFolder + "/LocusList.txt";
  const std::string gen = host.Path("bad.gen"), results = host.Path("results.tsv");
  const std::string late = host.Path("late.tsv"), fragments = host.Path("fragments.tsv");
  const std::string subjects = host.Path("subjects.tsv");
  WriteFile(gen, "fish\nLoc9\npop\na , 0101 0202\n");
  WriteFile(results, "Result Name\nR3\nR1\n");
  // In the study's order R3, R1 (lines 2 and 6), then R2 (lines 3 and 7).
  WriteFile(late,
            "Result Name\tSubject ID\tPeak Area\nR1\tS1\t1\nR2\tS2\t2\nR3\tS3\t3\n\n"
            "R1\tS1\t4\nR2\tS2\tlarge\n");
  WriteFile(fragments, "Result Name\tSubject ID\nR1\tS1\n");
  WriteFile(subjects, "Subject ID\tPedigre ID\nS1\tFAM1\n");
  host.WriteLocusList("D1\r\n");
  const struct {
    std::vector<std::string> options;
    std::string said;
  } cases[] = {
      {{"--genepop", gen, "--write-locus-list"},
       gen + ":4: expected 1 genotypes (one per locus), found 2"},
      {{"--fragments", late, "--results", results},
       late + ":7: column 'Peak Area': 'large' is not a number"},
      {{"--fragments", fragments, "--subjects", subjects, "--strict"},
       subjects +
           ":1: unknown column 'Pedigre ID' (did you mean 'Pedigree ID'?); refused under --strict"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"import", db, "--name", "Refused"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto run = RunHarvestor(args, host.root + "/App/bin");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "harvestor import: " + c.said + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(db)) << c.said;
    EXPECT_EQ(ReadFile(list), "D1\r\n");
  }
}

TEST(ImportCommandTest, AGenepopFileThatLandsBecomesTheLocusList) {
  TestHost host;
  const std::string gen = host.Path("fish.gen"), db = host.Path("study.db");
  WriteFile(gen, "fish\nLoc2, Loc1\npop\na , 0101 0202\n");
  const auto run =
      RunHarvestor({"import", db, "--name", "Fish", "--genepop", gen, "--write-locus-list"},
                   host.root + "/App/bin");
  const std::string list = host.exportFolder + "/LocusList.txt";
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "Imported study 'Fish' into " + db +
                         ": 1 results, 2 fragments.\nWrote the locus list " + list +
                         " (2 loci).\n");
  EXPECT_EQ(ReadFile(list), "Loc2\r\nLoc1\r\n");
}

}  // namespace
}  // namespace workstation
