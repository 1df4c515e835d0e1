// A locus keeps its name and its alleles in one packed string: the name must
// come back whole whatever its length and whatever is added after it.
#include <gtest/gtest.h>

#include "harvestor/genotype/GenoLocus.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

TEST(GenoLocusTest, NameSurvivesTheAllelesPackedAfterIt) {
  testing::TestHost host;
  for (const std::string& name : {std::string(), std::string("D1S1234"), std::string(127, 'n'),
                                  std::string(128, 'm'), std::string(70000, 'l')}) {
    GenoLocus locus;
    locus.Initialize(name);
    EXPECT_EQ(locus.NumberOfAlleles(), 0) << name.size();
    locus.AddAllele(std::string(200, 'a'));
    locus.AddAllele("12");
    EXPECT_EQ(locus.LocusName(), name) << name.size();
    EXPECT_EQ(locus.Name(), name) << name.size();
    ASSERT_EQ(locus.NumberOfAlleles(), 2) << name.size();
    EXPECT_EQ(locus.AlleleID(1), "12");
    // Initialize starts over: the old name and alleles are gone.
    locus.Initialize("D2");
    EXPECT_EQ(locus.Name(), "D2");
    EXPECT_EQ(locus.NumberOfAlleles(), 0);
  }
  // A locus never initialized has the empty name and still keeps alleles.
  GenoLocus bare;
  bare.AddAllele("7");
  EXPECT_EQ(bare.Name(), "");
  EXPECT_EQ(bare.AlleleID(0), "7");
}

}  // namespace
}  // namespace harvestor
