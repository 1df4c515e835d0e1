// Building the genotype table from a study.
#include <gtest/gtest.h>

#include "harvestor/genotype/GenoGroup.h"
#include "tests/fakes/TestHost.h"
#include "tests/genotype/SmallStudy.h"

namespace harvestor {
namespace {

std::vector<std::string> Ids(const GenoGroup& group) {
  std::vector<std::string> ids;
  for (const IndividualPtr& i : *group.Individuals()) ids.push_back(i->IndividualID());
  return ids;
}

TEST(GenoGroupTest, AnEmptyStudyGivesAnEmptyTable) {
  testing::TestHost host;
  GenoGroup group;
  EXPECT_FALSE(group.ProgressBar());
  group.BuildGenoGroup(testing::FakeStudy());
  EXPECT_EQ(group.Individuals()->Count(), 0);
  EXPECT_EQ(host.application.progress->calls, std::vector<std::string>{"Start 0 0"});
  EXPECT_TRUE(host.Log().empty());
}

TEST(GenoGroupTest, ResultsOfOneSubjectMergeAndTheTableIsSortedByID) {
  testing::TestHost host;
  GenoGroup group;
  group.BuildGenoGroup(*testing::MakeSmallStudy());
  EXPECT_EQ(Ids(group), (std::vector<std::string>{"S1", "S2", "S3ABCDEFGHIJKLM"}));
  const IndividualPtr s1 = *group.Individuals()->begin();
  EXPECT_EQ(s1->MotherID(), "M9");  // taken from the second reading
  EXPECT_EQ(s1->Gender(), 1);       // the first reading wins the conflict
  EXPECT_TRUE(s1->RetrieveGenoLocus("D1"));
  EXPECT_TRUE(s1->RetrieveGenoLocus("D3"));
  EXPECT_FALSE(s1->RetrieveGenoLocus("D9"));
  EXPECT_EQ(host.application.progress->advances, 6);
}

TEST(GenoGroupTest, AStudyErrorIsReportedByBuildAndWhatWasBuiltStays) {
  struct BrokenResults : IStudyResults {
    std::shared_ptr<testing::FakeStudyResults> inner;
    std::int32_t Count() const override { return inner->Count() + 1; }
    std::shared_ptr<IStudyResult> Item(std::int32_t i) const override {
      if (i == inner->Count()) throw HError(3021, "Store", "No current record.");
      return inner->Item(i);
    }
  };
  struct BrokenStudy : IStudy {
    std::shared_ptr<BrokenResults> results = std::make_shared<BrokenResults>();
    std::string StudyName() const override { return "Broken"; }
    std::shared_ptr<IStudyResults> Results() const override { return results; }
  };
  testing::TestHost host;
  BrokenStudy study;
  testing::FakeStudy good;
  good.AddResult("R1", "S1");
  study.results->inner = good.results;
  GenoGroup group;
  try {
    group.BuildGenoGroup(study);
    FAIL();
  } catch (const HError& e) {
    EXPECT_EQ(e.Number, 3021);
    EXPECT_EQ(e.Source, "Store");
  }
  EXPECT_EQ(host.utility.ReportedPlaces(), std::vector<std::string>{"GenoGroup.BuildGenoGroup"});
  EXPECT_EQ(group.Individuals()->Count(), 1);
}

}  // namespace
}  // namespace harvestor
