// The Genepop reader turns each individual into a subject of its section's
// population with a fragment per allele, and refuses bad files naming the
// file, line and column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harvestor/service/Text.h"
#include "tests/fakes/TestHost.h"
#include "workstation/store/GenepopReader.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

using harvestor::testing::RefusalOf;
using harvestor::testing::TestHost;
using harvestor::testing::WriteFile;

std::vector<std::string> ReadAll(GenepopReader& reader) {
  std::vector<std::string> lines;
  reader.read([&](const ImportedResult& r) {
    std::string text = r.name + "=" + r.subjectId;
    for (const auto& p : r.properties) text += " " + p.Name + ":" + p.Value.ToText();
    for (const auto& f : r.fragments) text += " " + f.locus + ":" + f.alleleId;
    lines.push_back(text);
  });
  return lines;
}

TEST(GenepopReaderTest, ReadsEachIndividualIntoItsSectionsPopulation) {
  const struct {
    std::string genepop, populations;  // populations: the table, or empty for none
    std::vector<std::string> loci, expected;
  } cases[] = {
      {"Microsatellites of three fish\r\nLoc1\r\nLoc2, Loc3\r\nPOP\r\n"
       "ind1 , 0102 0000 0303\r\nind2,\t0202 0100 0304\r\n\r\nPop  second\r\n"
       "ind3 , 0101 0101 0101\r\n",
       "",
       {"Loc1", "Loc2", "Loc3"},
       {"ind1=ind1 Population ID:Pop1 Pedigree ID:Pop1 Loc1:01 Loc1:02 Loc2: Loc3:03",
        "ind2=ind2 Population ID:Pop1 Pedigree ID:Pop1 Loc1:02 Loc2:01 Loc3:03 Loc3:04",
        "ind3=ind3 Population ID:Pop2 Pedigree ID:Pop2 Loc1:01 Loc2:01 Loc3:01"}},
      // A populations table names the whole section of an individual it lists.
      {"t\nLoc1\npop\nind1 , 001002\nind2 , 002002\npop\nind3 , 000000\n",
       "Subject ID\tPopulation ID\nind2\tNorth\n",
       {"Loc1"},
       {"ind1=ind1 Population ID:North Pedigree ID:North Loc1:001 Loc1:002",
        "ind2=ind2 Population ID:North Pedigree ID:North Loc1:002",
        "ind3=ind3 Population ID:Pop2 Pedigree ID:Pop2 Loc1:"}},
  };
  for (const auto& c : cases) {
    TestHost host;
    WriteFile(host.Path("fish.gen"), c.genepop);
    if (!c.populations.empty()) WriteFile(host.Path("pops.tsv"), c.populations);
    GenepopReader reader(host.Path("fish.gen"), c.populations.empty() ? "" : host.Path("pops.tsv"));
    EXPECT_EQ(ReadAll(reader), c.expected);
    EXPECT_EQ(reader.loci(), c.loci);
  }
}

struct BadGenepop {
  std::string content;
  std::string populations;  // empty: none
  bool tableAtFault;
  std::string message;  // after "FILE:"
};

const std::string kHead = "title\nL1\nL2\npop\n";

const std::vector<BadGenepop> kBad = {
    {"", "", false, "1: no title line"},
    {"title\nL1\n", "", false, "2: no 'Pop' line"},
    {"title\npop\na , 0101\n", "", false, "2: no loci before the first 'Pop' line"},
    {"title\nL1,,L2\npop\n", "", false, "2: empty locus name"},
    {"title\nL1\nl1\npop\n", "", false, "3: locus 'l1' is listed on line 2 too"},
    {kHead + "a , 0101\n", "", false, "5: expected 2 genotypes (one per locus), found 1"},
    {kHead + "a , 0101 01x1\n", "", false,
     "5: column 3 (locus L2): '01x1' is not a genotype of two 2-digit or two 3-digit alleles"},
    {kHead + "a , 0101 010101\n", "", false,
     "5: column 3 (locus L2): '010101' has 6 digits where this file's genotypes have 4"},
    {kHead + "a 0101 0101\n", "", false,
     "5: neither a 'Pop' line nor an individual ('name , genotypes')"},
    {kHead + " , 0101 0101\n", "", false, "5: column 1 (name): empty"},
    {kHead + "a\x1b , 0101 0101\n", "", false,
     "5: column 1 (name): holds control character 0x1B (ESC) at byte 2"},
    {kHead + "a , 0101 0101\nA , 0101 0101\n", "", false,
     "6: column 1 (name): individual 'A' is on line 5 too (names are compared without regard to "
     "case)"},
    {kHead + "a , 0101 0101\nb , 0101 0101\n", "Subject ID\tPopulation ID\na\tN\nb\tS\n", false,
     "6: column 1 (name): individual 'b' is in population 'S' (POPS:3), but 'a' of the same "
     "section is in 'N'"},
    {kHead + "a , 0101 0101\n", "Subject ID\tPopulation ID\na\tN\nc\tS\n", true,
     "3: no individual 'c' in GENEPOP"},
    {kHead + "a , 0101 0101\n", "Subject ID\tPopulation ID\na\tN\na\tS\n", true,
     "3: subject 'a' is listed on line 2 too"},
    {kHead + "a , 0101 0101\n", "Subject ID\tPopulation ID\na\t\n", true,
     "2: column 'Population ID': empty"},
    {kHead + "a , 0101 0101\n", "Subject ID\n", true, "1: missing required column 'Population ID'"},
};

TEST(GenepopReaderTest, BadFilesAreRefusedNamingFileLineAndColumn) {
  for (const BadGenepop& bad : kBad) {
    TestHost host;
    const std::string path = host.Path("a.gen"), pops = host.Path("pops.tsv");
    WriteFile(path, bad.content);
    if (!bad.populations.empty()) WriteFile(pops, bad.populations);
    GenepopReader reader(path, bad.populations.empty() ? "" : pops);
    const std::string message =
        harvestor::ReplaceAll(harvestor::ReplaceAll(bad.message, "POPS", pops), "GENEPOP", path);
    EXPECT_EQ(RefusalOf<ImportError>([&] { ReadAll(reader); }),
              (bad.tableAtFault ? pops : path) + ":" + message)
        << bad.content;
  }
}

}  // namespace
}  // namespace workstation
