// harvestor import of the formats labs have: a Linkage file that the study
// export wrote comes back as the same lines, each example file imports, and
// a refused Genepop file leaves neither database nor locus list changed. (A
// bad Linkage file's refusals are its reader's; the format options' usage
// errors are CommandLineTest's.)
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"

namespace workstation {
namespace {

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
            "R1\tS2\tD1\t12\nR1\tS2\tD1\t14\nR1\tS2\tD2\t9\n"
            "R2\tS1\tD1\t8\nR2\tS1\tD3\t\n"
            "R3\tS2\tD3\t21\nR3\tS2\tD3\t20\n"
            "R4\tLONGSUBJECT1234\tD2\t7\n");
  WriteFile(subjects,
            "Subject ID\tPedigree ID\tFather ID\tMother ID\tGender\tAffectation Status\t"
            "Liability Class\n"
            "S1\tFAM1\tS9\tS8\t1\t2\t0\n"
            "S2\tFAM1\t\t\t\t\t3\n"
            "LONGSUBJECT1234\tFAMILYNUMBER2\t\t\t2\t1\t\n");
  const std::string first = host.Path("first.db"), second = host.Path("second.db");
  const std::string component = host.root + "/App/bin";
  host.WriteLocusList("D1\r\nD2\r\nD3\r\n");
  ASSERT_EQ(RunHarvestor({"import", first, "--name", "Small", "--fragments", fragments,
                          "--subjects", subjects})
                .exitStatus,
            0);
  const std::string firstPre = host.Path("First.pre"), secondPre = host.Path("Second.pre");
  const auto exported =
      RunHarvestor({"export-study", first, "--format", "pedin", "--output", firstPre}, component);
  ASSERT_EQ(exported.exitStatus, 0) << exported.err;

  const auto imported = RunHarvestor({"import", second, "--name", "Again", "--linkage", firstPre,
                                      "--loci", host.exportFolder + "/LocusList.txt"});
  ASSERT_EQ(imported.exitStatus, 0) << imported.err;
  EXPECT_EQ(imported.out.rfind("Imported study 'Again' into " + second + ": ", 0), 0u);
  const auto again =
      RunHarvestor({"export-study", second, "--format", "pedin", "--output", secondPre}, component);
  ASSERT_EQ(again.exitStatus, 0) << again.err;
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
  const std::string component = host.root + "/App/bin";
  const std::string gen = host.Path("fish.gen"), bad = host.Path("bad.gen");
  const std::string db = host.Path("study.db");
  WriteFile(gen, "fish\nLoc2, Loc1\npop\na , 0101 0202\n");
  WriteFile(bad, "fish\nLoc9\npop\na , 0101 0202\n");
  host.WriteLocusList("D1\r\n");
  const auto refused = RunHarvestor(
      {"import", db, "--name", "Fish", "--genepop", bad, "--write-locus-list"}, component);
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_EQ(refused.err,
            "harvestor import: " + bad + ":4: expected 1 genotypes (one per locus), found 2\n");
  EXPECT_EQ(ReadFile(host.exportFolder + "/LocusList.txt"), "D1\r\n");
  EXPECT_FALSE(std::filesystem::exists(db));

  const auto imported = RunHarvestor(
      {"import", db, "--name", "Fish", "--genepop", gen, "--write-locus-list"}, component);
  EXPECT_EQ(imported.exitStatus, 0) << imported.err;
  EXPECT_EQ(imported.out, "Imported study 'Fish' into " + db +
                              ": 1 results, 2 fragments.\nWrote the locus list " +
                              host.exportFolder + "/LocusList.txt (2 loci).\n");
  EXPECT_EQ(ReadFile(host.exportFolder + "/LocusList.txt"), "Loc2\r\nLoc1\r\n");
}

}  // namespace
}  // namespace workstation
