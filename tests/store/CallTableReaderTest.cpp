// The allele-call reader turns each sample's rows into one result with a
// fragment per called allele, whichever delimiter the table uses, and
// refuses bad tables naming the file, line and column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/TestHost.h"
#include "workstation/store/CallTableReader.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

using harvestor::testing::RefusalOf;
using harvestor::testing::TestHost;
using harvestor::testing::WriteFile;

// Each result as "name=subject" and its fragments, allele/dye/size/height/area.
std::string ReadAll(const std::string& path) {
  std::string text;
  CallTableReader(path).read([&](const ImportedResult& r) {
    text += r.name + "=" + r.subjectId;
    for (const auto& f : r.fragments) {
      text += " " + f.locus + ":" + f.alleleId + "/" + std::to_string(f.dye) + "/" +
              harvestor::Variant::FromNumber(f.size).ToText() + "/" +
              harvestor::Variant::FromNumber(f.height).ToText() + "/" +
              harvestor::Variant::FromNumber(f.area).ToText();
    }
    text += "\n";
  });
  return text;
}

TEST(CallTableReaderTest, ReadsEachSamplesRowsIntoOneResultWhicheverTheDelimiter) {
  const std::string twoSamples =
      "A01.fsa=S1 D1:12/1/101.5/900/0 D1:14/1/109.25/850/0 D2:/3/0/0/0\n"
      "B01.fsa=S2 D1:12/2/101.375/1200/0\n";
  const std::pair<std::string, std::string> cases[] = {
      {"Sample File\tSample Name\tPanel\tMarker\tDye\tAllele 1\tSize 1\tHeight 1\tAllele 2\t"
       "Size 2\tHeight 2\r\n"
       "A01.fsa\tS1\tP\tD1\tB\t12\t101.5\t900\t14\t109.25\t850\r\n"
       "B01.fsa\tS2\tP\tD1\tg\t12\t101.375\t1200\t\t\t\t\r\n"
       "A01.fsa\tS1\tP\tD2\t3\t\t\t\t\t\t\r\n",
       twoSamples},
      {"sample file,SAMPLE NAME,Panel,marker,dye,allele 1,size 1,height 1,allele 2,size 2,"
       "height 2\n"
       "A01.fsa,S1,\"P, the one\",D1,B,12,101.5,900,14,109.25,850\n"
       "B01.fsa,S2,P,D1,G,\"12\",101.375,1200,,,\n"
       "A01.fsa,S1,P,D2,3,,,,,,\n",
       twoSamples},
      // Without a sample file column the result is named after the sample.
      {"Sample Name\tMarker\tAllele 1\tArea 1\nS1\tD1\tOL\t5\nS2\tD1\t8\t\nS1\tD2\t9\t\n",
       "S1=S1 D1:OL/1/0/0/5 D2:9/1/0/0/0\nS2=S2 D1:8/1/0/0/0\n"},
  };
  for (const auto& [table, expected] : cases) {
    TestHost host;
    WriteFile(host.Path("calls.txt"), table);
    EXPECT_EQ(ReadAll(host.Path("calls.txt")), expected) << table;
  }
}

struct BadCalls {
  std::string content;
  std::string message;  // after "FILE:"
};

const std::string kHeader = "Sample Name\tMarker\tAllele 1\tSize 1\n";

const std::vector<BadCalls> kBad = {
    {"", "1: no header row"},
    {"Sample Name\tAllele 1\n", "1: missing required column 'Marker'"},
    {"Marker\tAllele 1\n", "1: missing required column 'Sample Name'"},
    {"Sample Name\tMarker\n", "1: no allele column ('Allele 1', 'Allele 2', ...)"},
    {"Sample Name\tMarker\tAllele 1\tsample name\n", "1: column 'sample name' appears twice"},
    {"Sample Name\tMarker\tAllele 1\tSize 2\n", "1: column 'Size 2' has no column 'Allele 2'"},
    {kHeader + "S1\tD1\t12\n", "2: expected 4 fields, found 3"},
    {kHeader + "\tD1\t12\t100\n", "2: column 'Sample Name': empty"},
    {kHeader + "S1\t\t12\t100\n", "2: column 'Marker': empty"},
    {kHeader + "S1\tD1\t12\tbig\n", "2: column 'Size 1': 'big' is not a number"},
    {kHeader + "S1\tD1\t12\t1e39\n",
     "2: column 'Size 1': '1e39' is beyond single precision (at most 3.4e38 either side of 0)"},
    {kHeader + "S1\tD1\t\t100\n", "2: column 'Size 1': '100' given for an empty allele"},
    {kHeader + "S1\tD1\t12\t100\nS1\td1\t14\t101\n",
     "3: column 'Marker': marker 'd1' of result 'S1' is on line 2 too"},
    {"Sample Name\tSample File\tMarker\tAllele 1\nS1\tA.fsa\tD1\t12\nS2\tA.fsa\tD2\t9\n",
     "3: column 'Sample Name': result 'A.fsa' is of sample 'S1' on line 2, not 'S2'"},
    {"Sample Name\tMarker\tDye\tAllele 1\nS1\tD1\tW\t12\n",
     "2: column 'Dye': 'W' is neither a dye number from -32768 to 32767 nor one of B, G, Y, R, O"},
    {"Sample Name,Marker,Allele 1\nS1,\"D1,12\n",
     "2: field 2: a quoted field is not closed on its line"},
};

TEST(CallTableReaderTest, BadTablesAreRefusedNamingFileLineAndColumn) {
  for (const BadCalls& bad : kBad) {
    TestHost host;
    const std::string path = host.Path("calls.txt");
    WriteFile(path, bad.content);
    EXPECT_EQ(RefusalOf<ImportError>([&] { ReadAll(path); }), path + ":" + bad.message)
        << bad.content;
  }
}

}  // namespace
}  // namespace workstation
