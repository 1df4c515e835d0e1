// The Linkage reader turns each individual into a subject with its pedigree
// properties and one fragment per allele, and refuses bad files naming the
// file, line and column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/TestHost.h"
#include "workstation/store/LinkageReader.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

using harvestor::testing::RefusalOf;
using harvestor::testing::TestHost;
using harvestor::testing::WriteFile;

// Each result as "name=subject", its properties and its alleles.
std::string ReadAll(const LinkageReader& reader) {
  std::string text;
  reader.read([&](const ImportedResult& r) {
    text += r.name + "=" + r.subjectId;
    for (const auto& p : r.properties) text += " " + p.Name + ":" + p.Value.ToText();
    for (const auto& f : r.fragments) text += " " + f.locus + ":" + f.alleleId;
    text += "\n";
  });
  return text;
}

TEST(LinkageReaderTest, ReadsPedigreeColumnsAndAllelesOfEachIndividual) {
  TestHost host;
  WriteFile(host.Path("loci.txt"),
            "\xEF\xBB\xBF"
            "D1\r\nD2\r\nD3\r\n");
  WriteFile(host.Path("a.pre"),
            "FAM1 S1 ? ? 1 2 0 12 14 9 9 ? ?\r\n\r\n0 S2\tF1  M1 2 0 3 014 12 0 9 0 0\n");
  const LinkageReader reader(host.Path("a.pre"), host.Path("loci.txt"));
  EXPECT_EQ(reader.loci(), (std::vector<std::string>{"D1", "D2", "D3"}));
  EXPECT_EQ(ReadAll(reader),
            "S1=S1 Pedigree ID:FAM1 Gender:1 Affectation Status:2 Liability Class:0 D1:12 D1:14 "
            "D2:9 D3:\n"
            "S2=S2 Father ID:F1 Mother ID:M1 Gender:2 Affectation Status:0 Liability Class:3 "
            "D1:014 D1:12 D2:9 D3:\n");
  std::vector<StoredFragment> fragments;
  reader.read([&](const ImportedResult& r) { fragments = r.fragments; });
  EXPECT_TRUE(fragments[0].dye == 1 && fragments[0].size == 0 && fragments[0].height == 0 &&
              fragments[0].divisor == 1);
}

struct BadLinkage {
  std::string loci;
  std::string pre;  // "/": the pedigree file is a folder
  bool lociAtFault;
  std::string message;  // after "FILE:"
};

const std::vector<BadLinkage> kBad = {
    {"D1\n", "F S1 ? ? 1 2 0 12\n", false,
     "1: expected 9 columns (7 and two for each of 1 loci), found 8"},
    {"D1\n", "F S1 ? ? 1 2 0 Unknown Allele 12\n", false,
     "1: expected 9 columns (7 and two for each of 1 loci), found 10 (the allele 'Unknown "
     "Allele' holds a blank, which this format cannot carry)"},
    {"D1\n", "F S1 ? ? 1 2 0 12 14\nF s1 ? ? 1 2 0 12 14\n", false,
     "2: column 2 (individual ID): individual 's1' is on line 1 too (IDs are compared without "
     "regard to case)"},
    {"D1\n", "F S1 ? ? M 2 0 12 14\n", false,
     "1: column 5 (gender): 'M' is not 1 (male), 2 (female), or ? or 0 (missing)"},
    {"D1\n", "F S1 ? ? 1 3 0 12 14\n", false,
     "1: column 6 (affectation status): '3' is not 0 (unknown), 1 (unaffected), 2 (affected) or "
     "? (missing)"},
    {"D1\n", "F S1 ? ? 1 2 40000 12 14\n", false,
     "1: column 7 (liability class): '40000' is not a whole number from -32768 to 32767"},
    {"D1\n", "F S1 ? ? 1 2 ? 12 14\n", false,
     "1: column 7 (liability class): '?' is not a whole number from -32768 to 32767"},
    {"D1\nD2\n", "F S1 ? ? 1 2 0 12 14 1\x01 2\n", false,
     "1: column 10 (allele 1 of D2): holds control character 0x01 (SOH) at byte 2"},
    {"D1\n\nD2\n", "", true, "2: empty locus name"},
    {"D1\nd1\n", "", true, "2: locus 'd1' is listed on line 1 too"},
    {"D\x1b\n", "", true, "1: locus name: holds control character 0x1B (ESC) at byte 2"},
    {"D1\n", "/", false, " cannot be read"},
};

TEST(LinkageReaderTest, BadFilesAreRefusedNamingFileLineAndColumn) {
  for (const BadLinkage& bad : kBad) {
    TestHost host;
    const std::string loci = host.Path("loci.txt");
    const std::string pre = bad.pre == "/" ? host.root : host.Path("a.pre");
    WriteFile(loci, bad.loci);
    if (bad.pre != "/") WriteFile(pre, bad.pre);
    EXPECT_EQ(RefusalOf<ImportError>([&] { ReadAll(LinkageReader(pre, loci)); }),
              (bad.lociAtFault ? loci : pre) + ":" + bad.message)
        << bad.pre;
  }
}

}  // namespace
}  // namespace workstation
