// The Linkage export end to end on a small study, compared byte for byte
// with files written out by hand, and its behaviour when files fail.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/service/ErrorLog.h"
#include "tests/fakes/TestHost.h"
#include "tests/genotype/SmallStudy.h"

namespace harvestor {
namespace {

using testing::ExpectedFile;
using testing::ReadFile;

TEST(PedinExportTest, SmallStudyMatchesTheHandWrittenFiles) {
  testing::TestHost host;
  host.WriteLocusList("D1\r\nD2\r\nD3\r\n");
  const std::string dir = host.Path("Out");
  std::filesystem::create_directories(dir);
  GenoGroup group;
  group.BuildGenoGroup(*testing::MakeSmallStudy());
  group.ExportAsPedin(dir + "/Study.pre");

  EXPECT_EQ(ReadFile(dir + "/Study.pre"), ExpectedFile("Study.pre", dir, host.exportFolder));
  EXPECT_EQ(ReadFile(dir + "/Study.debug"), ExpectedFile("Study.debug", dir, host.exportFolder));
  EXPECT_EQ(ReadFile(dir + "/Study.log"), ExpectedFile("Study.log", dir, host.exportFolder));
  EXPECT_EQ(host.application.progress->calls,
            (std::vector<std::string>{"Start 6 0", "Advance", "Finish"}));
  EXPECT_EQ(host.application.progress->advances, 6 + 3);
  EXPECT_TRUE(host.utility.reported.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);
}

TEST(PedinExportTest, WithoutALocusListTheLinesStopAfterTheLiabilityClass) {
  testing::TestHost host;
  testing::FakeStudy study;
  auto& r = study.AddResult("R1", "S1");
  r.Properties().Text("Pedigree ID", "FAM1").Number("Gender", 1).Number("Affectation Status", 0);
  r.Call("D1", "12");
  GenoGroup group;
  group.BuildGenoGroup(study);
  group.ExportAsPedin(host.Path("Out.pre"));
  EXPECT_EQ(ReadFile(host.Path("Out.pre")), "FAM1 S1 ? ? 1 0 0\r\n");
  EXPECT_TRUE(ReadFile(host.Path("Out.debug"))
                  .ends_with("\r\nPedigree ID,Individual ID,Father ID,Mother ID,Gender,"
                             "Affectation Status,Liability Class\r\nFAM1,S1,?,?,1,0,0\r\n"));
  EXPECT_EQ(host.Logged("Missing or Empty LocusList.txt.  View LocusList Editor."), 1);
  EXPECT_EQ(host.Logged("Missing Affectation Status for Subject: S1"), 1);
}

TEST(PedinExportTest, IDsAreCutTo11CharactersNeverInsideOne) {
  const auto greek = [](int n) {  // the first n Greek capitals, two bytes each
    std::string text;
    for (int i = 0; i < n; ++i) text += {'\xCE', static_cast<char>(0x91 + i)};
    return text;
  };
  const struct {
    std::string pedigree, subject, father, mother;
    std::string line;  // the Linkage line up to the gender
    std::string debug;
  } cases[] = {
      {"Familie-M\xC3\xBCller", "S1", "V\xC3\xA4ter", "M\xC3\xBCtter",
       "Familie-M\xC3\xBCl S1 V\xC3\xA4ter M\xC3\xBCtter",
       "Familie-M\xC3\xBCl,S1,V\xC3\xA4ter,M\xC3\xBCtter"},
      // Of twelve: eleven are kept.
      {"F1", greek(12), "", "", "F1 " + greek(11) + " ? ?", "F1," + greek(11) + ",?,?"},
      {"F2", "0123456789\xE2\x82\xAC\xE2\x82\xAC", "0123456789AB", "\xF0\x9F\xA7\xAC",
       "F2 0123456789\xE2\x82\xAC 0123456789A \xF0\x9F\xA7\xAC",
       "F2,0123456789\xE2\x82\xAC,0123456789A,\xF0\x9F\xA7\xAC"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    testing::TestHost host;
    testing::FakeStudy study;
    study.AddResult("R1", c.subject)
        .Properties()
        .Text("Pedigree ID", c.pedigree)
        .Text("Father ID", c.father)
        .Text("Mother ID", c.mother)
        .Number("Gender", 1)
        .Number("Affectation Status", 2);
    GenoGroup group;
    group.BuildGenoGroup(study);
    group.ExportAsPedin(host.Path("Out.pre"));
    EXPECT_EQ(ReadFile(host.Path("Out.pre")), c.line + " 1 2 0\r\n");
    EXPECT_TRUE(ReadFile(host.Path("Out.debug")).ends_with("\r\n" + c.debug + ",1,2,0\r\n"));
  }
}

// A folder where a file would go, or a missing folder: that file is logged
// as not created, the folder stays as it was and the others are written.
TEST(PedinExportTest, AFileThatCannotBeCreatedIsLoggedAndTheOthersAreStillWritten) {
  testing::TestHost host;
  host.WriteLocusList("D1\r\n");
  GenoGroup group;
  group.BuildGenoGroup(*testing::MakeSmallStudy());
  const auto cannotCreate = [](const std::string& path) {
    return "Can't create " + path + " Check file open or disk full.";
  };
  std::filesystem::create_directories(host.Path("Busy.pre"));
  group.ExportAsPedin(host.Path("Busy.pre"));
  EXPECT_EQ(host.Logged(cannotCreate(host.Path("Busy.pre"))), 1);
  EXPECT_TRUE(std::filesystem::is_directory(host.Path("Busy.pre")));
  EXPECT_TRUE(std::filesystem::is_regular_file(host.Path("Busy.debug")));
  EXPECT_EQ(host.Log().back(), "Exported " + host.Path("Busy.log"));

  std::filesystem::create_directories(host.Path("Keep.log"));
  group.ExportAsPedin(host.Path("Keep.pre"));
  EXPECT_TRUE(std::filesystem::is_directory(host.Path("Keep.log")));
  EXPECT_EQ(host.Log().back(), cannotCreate(host.Path("Keep.log")));
  group.ExportAsPedin(host.Path("Gone/Out.pre"));
  EXPECT_EQ(host.Log().back(), cannotCreate(host.Path("Gone/Out.log")));
  EXPECT_TRUE(host.utility.reported.empty());
}

TEST(PedinExportTest, AnOverlongLocusListOverflowsAndIsReportedOnTheWayUp) {
  testing::TestHost host;
  std::string list;
  for (int i = 0; i < 32768; ++i) list += "L\r\n";
  host.WriteLocusList(list);
  testing::FakeStudy study;
  study.AddResult("R1", "S1").Call("D1", "1");
  GenoGroup group;
  group.BuildGenoGroup(study);
  EXPECT_EQ(testing::ErrorOf([&] { group.ExportAsPedin(host.Path("Big.pre")); }), ErrNo::Overflow);
  EXPECT_EQ(host.utility.ReportedPlaces(), std::vector<std::string>{"GenoGroup.ExportAsPedin"});
}

}  // namespace
}  // namespace harvestor
