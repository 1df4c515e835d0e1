// Building the genotype table from a study (the small study's merging and
// order are checked byte for byte by the Linkage export).
#include <gtest/gtest.h>

#include "harvestor/genotype/GenoGroup.h"
#include "tests/fakes/FakeStudy.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

// The store fails on reading the second result.
struct BrokenResults : testing::FakeStudyResults {
  std::int32_t Count() const override { return FakeStudyResults::Count() + 1; }
  std::shared_ptr<IStudyResult> Item(std::int32_t i) const override {
    if (i == FakeStudyResults::Count()) throw HError(3021, "Store", "No current record.");
    return FakeStudyResults::Item(i);
  }
};

TEST(GenoGroupTest, AStudyErrorIsReportedByBuildAndWhatWasBuiltStays) {
  testing::TestHost host;
  testing::FakeStudy study;
  study.results = std::make_shared<BrokenResults>();
  study.AddResult("R1", "S1");
  GenoGroup group;
  EXPECT_EQ(testing::ErrorOf([&] { group.BuildGenoGroup(study); }), 3021);
  EXPECT_EQ(host.utility.ReportedPlaces(), std::vector<std::string>{"GenoGroup.BuildGenoGroup"});
  EXPECT_EQ(group.Individuals()->Count(), 1);
}

}  // namespace
}  // namespace harvestor
