// The Discovery Manager population file and the Genotype Summary Report.
#include <gtest/gtest.h>

#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/service/ErrorLog.h"
#include "tests/fakes/FakeStudy.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

std::shared_ptr<testing::FakeStudy> Study() {
  auto study = std::make_shared<testing::FakeStudy>();
  auto& s1 = study->AddResult("R1", "S1ABCDEFGHIJKL");
  s1.Properties()
      .Text("Population ID", "P1")
      .Text("Pedigree ID", "K1")
      .Text("Mother ID", "M1")
      .Number("Gender", 2)
      .Number("Affectation Status", 1)
      .Number("Liability Class", 3);
  s1.Call("D1", "12");
  s1.Call("D1", "14");
  s1.Call("D2", "9");
  s1.Call("D3", "10");
  s1.Call("D3", "11");
  s1.Call("D3", "12");
  s1.Call("D4", "");
  return study;
}

TEST(DmpGsrExportTest, DiscoveryManagerHeadingHasOneColumnPerLocus) {
  testing::TestHost host;
  host.WriteLocusList("D1\r\nD5\r\n");
  GenoGroup group;
  group.BuildGenoGroup(*Study());
  ErrorLog::InitalizeExportLog();
  group.ExportAsDMP(host.Path("pop.txt"));
  EXPECT_EQ(testing::ReadFile(host.Path("pop.txt")),
            "PopID,KinID,SubID,MID,FID,Sex,D1,D5\r\nP1,K1,S1ABCDEFGHIJKL,M1,,2,12,14,,\r\n");
  EXPECT_EQ(host.Log(),
            (std::vector<std::string>{"Using locus list: " + host.exportFolder + "/LocusList.txt",
                                      "Missing Father ID for Subject: S1ABCDEFGHIJKL",
                                      "Processing locus: D1 for Subject: S1ABCDEFGHIJKL",
                                      "\tHeterozygous: Allele ID: 12\t Allele ID: 14",
                                      "Missing locus: D5 for Subject: S1ABCDEFGHIJKL",
                                      "Exported " + host.Path("pop.txt"),
                                      "Exported " + host.Path("pop.log")}));
  EXPECT_EQ(testing::ReadFile(host.Path("pop.log")), testing::CrLf(host.Log()));
}

TEST(DmpGsrExportTest, SummaryReportWritesWordsWhereNoGenotypeCanBeGiven) {
  testing::TestHost host;
  host.WriteLocusList("D1\r\nD2\r\nD3\r\nD4\r\nD5\r\n");
  GenoGroup group;
  group.BuildGenoGroup(*Study());
  group.ExportAsGSR(host.Path("report.gsr"));
  EXPECT_EQ(
      testing::ReadFile(host.Path("report.gsr")),
      "Subject ID\tD1 A1\tD1 A2\tD2 A1\tD2 A2\tD3 A1\tD3 A2\tD4 A1\tD4 A2\tD5 A1\tD5 A2\r\n"
      "S1ABCDEFGHIJKL\t12\t14\t9\t9\tToo many (3)\tToo many (3)\tNone found\tNone found\t \t \r\n");
  EXPECT_EQ(host.Logged("\tToo many alleles"), 1);
  EXPECT_EQ(host.Logged("\tNo alleles found"), 1);
}

}  // namespace
}  // namespace harvestor
