// The loci of one individual found by name: past the 65,535 its 16-bit slots
// index, every locus must still be found once, without regard to case.
#include <gtest/gtest.h>

#include <string>

#include "harvestor/genotype/LocusTable.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

TEST(LocusTableTest, FindsEveryLocusPastTheIndexedOnes) {
  testing::TestHost host;
  constexpr int kLoci = 70000;
  for (bool reserved : {false, true}) {
    LocusTable table;
    if (reserved) table.Reserve(kLoci);
    for (int l = 0; l < kLoci; ++l) table.FindOrAdd("L" + std::to_string(l)).AddAllele("1");
    // Adding a name held already, in another case, adds nothing.
    for (int l : {0, 65534, 65535, 65536, kLoci - 1}) {
      table.FindOrAdd("l" + std::to_string(l)).AddAllele("2");
    }
    ASSERT_EQ(table.Count(), static_cast<std::size_t>(kLoci)) << reserved;
    for (int l = 0; l < kLoci; l += 997) {
      const GenoLocus* found = table.Find("l" + std::to_string(l));
      ASSERT_NE(found, nullptr) << l;
      EXPECT_EQ(found->LocusName(), "L" + std::to_string(l));
    }
    EXPECT_EQ(table.Find("L65535")->NumberOfAlleles(), 2) << reserved;
    EXPECT_EQ(table.Find("L" + std::to_string(kLoci)), nullptr) << reserved;
  }
}

}  // namespace
}  // namespace harvestor
