// harvestor import as a user runs it: the formats labs have (a Linkage file
// the study export wrote comes back as the same lines, each example file
// imports), and refusals that leave neither database nor locus list made or
// changed. (The usage errors are CommandLineTest's; a database that holds a
// study is left to the byte by a refused import on both engines: StoreTest.)
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"
#include "workstation/store/StudyDatabase.h"

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

TEST(LabFormatImportTest, EachExampleFileImports) {
  const std::string examples = std::string(HARVESTOR_TEST_DATA) + "/../../examples/";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--calls", examples + "calls.txt"}, "4 results, 12 fragments"},
      {{"--calls", examples + "calls.csv"}, "4 results, 12 fragments"},
      {{"--genepop", examples + "fish.gen", "--populations", examples + "fish-populations.tsv"},
       "4 results, 15 fragments"},
      {{"--linkage", examples + "family.pre", "--loci", examples + "family-loci.txt"},
       "3 results, 12 fragments"},
      {{"--fragments", examples + "tables/fragments.tsv", "--results",
        examples + "tables/results.tsv", "--subjects", examples + "tables/subjects.tsv", "--traces",
        examples + "tables/traces.tsv", "--strict"},
       "4 results, 8 fragments"}};
  for (const auto& [options, counts] : cases) {
    TestHost host;
    const std::string db = host.Path("study.db");
    std::vector<std::string> args{"import", db, "--name", "Example"};
    args.insert(args.end(), options.begin(), options.end());
    const auto run = RunHarvestor(args);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "Imported study 'Example' into " + db + ": " + counts + ".\n");
  }
}

TEST(LabFormatImportTest, AGenepopFileWritesItsLociAsTheLocusListOnlyOnceItIsIn) {
  TestHost host;
  const std::string gen = host.Path("fish.gen"), bad = host.Path("bad.gen");
  const std::string db = host.Path("study.db"), list = host.exportFolder + "/LocusList.txt";
  WriteFile(gen, "fish\nLoc2, Loc1\npop\na , 0101 0202\n");
  WriteFile(bad, "fish\nLoc9\npop\na , 0101 0202\n");
  host.WriteLocusList("D1\r\n");
  const auto import = [&](const std::string& file) {
    return RunHarvestor({"import", db, "--name", "Fish", "--genepop", file, "--write-locus-list"},
                        host.root + "/App/bin");
  };
  const auto refused = import(bad);
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_EQ(refused.err,
            "harvestor import: " + bad + ":4: expected 1 genotypes (one per locus), found 2\n");
  EXPECT_EQ(ReadFile(list), "D1\r\n");
  EXPECT_FALSE(fs::exists(db));
  const auto imported = import(gen);
  EXPECT_EQ(imported.exitStatus, 0) << imported.err;
  EXPECT_EQ(imported.out, "Imported study 'Fish' into " + db +
                              ": 1 results, 2 fragments.\nWrote the locus list " + list +
                              " (2 loci).\n");
  EXPECT_EQ(ReadFile(list), "Loc2\r\nLoc1\r\n");
}

// A fragment's values are checked as its result is read, after the results
// before it in the study's order went into the transaction: the refusal still
// names the row's line, and a new database is not made.
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
  EXPECT_FALSE(fs::exists(db));
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
  EXPECT_FALSE(fs::exists(db));

  const auto warned = import("Lax", false);
  EXPECT_EQ(warned.exitStatus, 0);
  EXPECT_EQ(warned.err, warning + "\n");
  EXPECT_EQ(warned.out, "Imported study 'Lax' into " + db + ": 1 results, 1 fragments.\n");
  const auto subject =
      StudyDatabase(db).loadStudy("Lax")->Results()->Item(0)->Result()->Sample()->SubjectRecord();
  ASSERT_EQ(subject->Properties()->Count(), 2);
  EXPECT_EQ(subject->Properties()->Item(0).Name, "Pedigre ID");
  EXPECT_EQ(import("Strict", true).exitStatus, 1);
  EXPECT_EQ(StudyDatabase(db).studyNames(), std::vector<std::string>{"Lax"});
}

}  // namespace
}  // namespace workstation
